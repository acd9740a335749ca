#pragma once

#include <QString>

#include <array>
#include <cstdint>

// The 54 import fields a layout can name, by slot number (1 to 54).
namespace importer {

constexpr int SlotCount = 54;
// Import lines and layouts never reach past this column.
constexpr int MaxColumns = 54;

enum class EditorOffer : uint8_t
{
    Always,
    Never,
    WhenInvoiceImport,      // ImportToSop is 0
    WhenSopImport,          // ImportToSop is 1
    WhenCashWithInvoiceOff, // cbxCashWithInvoice unticked
    WhenTransNoFromFile,    // cbximporttransno ticked
};

struct LayoutSlot
{
    int slot;
    const char* title;
    EditorOffer columnList;
    bool groups; // stage one accepts it as a grouping field
    EditorOffer groupList;
};

// Slot 1 is element 0.
const std::array<LayoutSlot, SlotCount>& layoutSlots();

// The slot whose title equals `title` exactly (case counts); 0 when none.
int slotOfTitle(const QString& title);
// The title of slot 1 to 54.
QString slotTitle(int slot);
// Whether the editor offers the slot in its column list / grouping list.
bool editorOffers(EditorOffer offer, int16_t importToSop, bool cashWithInvoice, bool transNoFromFile);

// The slots the import's routines name.
namespace slot {
constexpr int TransactionType = 1;
constexpr int AccountReference = 2;
constexpr int TransactionDate = 3;
constexpr int OrderNumber = 4;
constexpr int Notes1 = 5;
constexpr int Notes2 = 6;
constexpr int Notes3 = 7;
constexpr int ProductCode = 8;
constexpr int Comment1 = 9;
constexpr int Comment2 = 10;
constexpr int Quantity = 11;
constexpr int UnitPrice = 12;
constexpr int DetailsLine1 = 13;
constexpr int DetailsLine5 = 17;
constexpr int PaymentValue = 18;
constexpr int DeliveryAddressName = 19;
constexpr int DeliveryAddress1 = 20;
constexpr int DiscountRate = 25;
constexpr int DiscountAmount = 26;
constexpr int UnitDiscountPrice = 27;
constexpr int ProductDescription = 28;
constexpr int TransactionNo = 29;
constexpr int CustomerTelephone = 30;
constexpr int CustomerOrderNumber = 31;
constexpr int CustomerContactName = 32;
constexpr int CourierNumber = 33;
constexpr int ConsignmentReference = 34;
constexpr int PaymentReference = 35;
constexpr int GlobalDepartment = 36;
constexpr int GlobalDetails = 37;
constexpr int GlobalNominalCode = 38;
constexpr int GlobalTaxCode = 39;
constexpr int DespatchDueDate = 40;
constexpr int SettlementDiscountRate = 41;
constexpr int SettlementDueDays = 42;
constexpr int ItemNominalCode = 43;
constexpr int ItemDepartment = 44;
constexpr int LineInformation = 45;
constexpr int LineTaxCode = 46;
constexpr int CarrDeptNumber = 47;
constexpr int CarrNet = 48;
constexpr int CarrNomCode = 49;
constexpr int CarrTaxAmount = 50;
constexpr int CarrTaxCode = 51;
constexpr int BankAccount = 52;
constexpr int NetValueDiscountAmount = 53;
constexpr int NetValueDiscountDescription = 54;
} // namespace slot

} // namespace importer
