#include "app/import/LayoutSlots.h"

#include <QHash>

namespace importer {

namespace {
using O = EditorOffer;
constexpr bool G = true;
constexpr bool N = false;
} // namespace

const std::array<LayoutSlot, SlotCount>& layoutSlots()
{
    static const std::array<LayoutSlot, SlotCount> slots{{
        {1, "Transaction Type", O::WhenInvoiceImport, G, O::WhenInvoiceImport},
        {2, "Account Reference", O::Always, G, O::Always},
        {3, "Transaction Date", O::Always, G, O::Always},
        {4, "Order Number", O::Always, G, O::Always},
        {5, "Notes 1", O::Always, G, O::Always},
        {6, "Notes 2", O::Always, G, O::Always},
        {7, "Notes 3", O::Always, G, O::Always},
        {8, "Product Code", O::Always, G, O::Always},
        {9, "Comment 1", O::Always, G, O::Always},
        {10, "Comment 2", O::Always, G, O::Always},
        {11, "Quantity", O::Always, G, O::Never},
        {12, "Unit Price", O::Always, G, O::Never},
        {13, "Details Line 1", O::Always, G, O::Always},
        {14, "Details Line 2", O::Always, G, O::Always},
        {15, "Details Line 3", O::Always, G, O::Always},
        {16, "Details Line 4", O::Always, G, O::Always},
        {17, "Details Line 5", O::Always, G, O::Always},
        {18, "Payment Value", O::WhenCashWithInvoiceOff, G, O::Never},
        {19, "Delivery Address Name", O::Always, G, O::Always},
        {20, "Delivery Address 1", O::Always, G, O::Always},
        {21, "Delivery Address 2", O::Always, G, O::Always},
        {22, "Delivery Address 3", O::Always, G, O::Always},
        {23, "Delivery Address 4", O::Always, G, O::Always},
        {24, "Delivery Address 5", O::Always, G, O::Always},
        {25, "Discount Rate", O::Always, N, O::Never},
        {26, "Discount Amount", O::Always, N, O::Never},
        {27, "Unit Discount Price", O::Always, N, O::Never},
        {28, "Product Description", O::Always, N, O::Never},
        {29, "Transaction No", O::WhenTransNoFromFile, G, O::WhenTransNoFromFile},
        {30, "Customer Telephone Number", O::Always, G, O::Never},
        {31, "Customer Order Number", O::Always, G, O::Always},
        {32, "Customer Contact Name", O::Always, G, O::Never},
        {33, "Courier Number", O::Always, G, O::Never},
        {34, "Consignment Reference", O::Always, G, O::Always},
        {35, "Payment Reference", O::Always, G, O::Never},
        {36, "Global-Department Number", O::Always, G, O::Never},
        {37, "Global-Details", O::Always, G, O::Never},
        {38, "Global-Nominal Code", O::Always, G, O::Never},
        {39, "Global-Tax Code", O::Always, G, O::Never},
        {40, "Despatch Due Date", O::WhenSopImport, G, O::Never},
        {41, "Settlement Discount Rate", O::Always, G, O::Never},
        {42, "Settlement Due Days", O::Always, G, O::Never},
        {43, "Item Nominal Code", O::Always, G, O::Never},
        {44, "Item Department Number", O::Always, G, O::Never},
        {45, "Line Information", O::Always, G, O::Never},
        {46, "Line Tax Code", O::Always, G, O::Never},
        {47, "Carr Dept Number", O::Always, N, O::Never},
        {48, "Carr Net", O::Always, N, O::Never},
        {49, "Carr Nom Code", O::Always, N, O::Never},
        {50, "Carr Tax Amount", O::Always, N, O::Never},
        {51, "Carr Tax Code", O::Always, N, O::Never},
        {52, "Bank Account", O::Always, N, O::Never},
        {53, "Net Value Discount Amount", O::Never, N, O::Never},
        {54, "Net Value Discount Description", O::Never, N, O::Never},
    }};
    return slots;
}

int slotOfTitle(const QString& title)
{
    static const QHash<QString, int> bySlot = [] {
        QHash<QString, int> h;
        for (const auto& s : layoutSlots())
            h.insert(QString::fromLatin1(s.title), s.slot);
        return h;
    }();
    return bySlot.value(title, 0);
}

QString slotTitle(int slot)
{
    if (slot < 1 || slot > SlotCount)
        return {};
    return QString::fromLatin1(layoutSlots()[size_t(slot - 1)].title);
}

bool editorOffers(EditorOffer offer, int16_t importToSop, bool cashWithInvoice, bool transNoFromFile)
{
    switch (offer) {
    case EditorOffer::Always:
        return true;
    case EditorOffer::Never:
        return false;
    case EditorOffer::WhenInvoiceImport:
        return importToSop == 0;
    case EditorOffer::WhenSopImport:
        return importToSop == 1;
    case EditorOffer::WhenCashWithInvoiceOff:
        return !cashWithInvoice;
    case EditorOffer::WhenTransNoFromFile:
        return transNoFromFile;
    }
    return false;
}

} // namespace importer
