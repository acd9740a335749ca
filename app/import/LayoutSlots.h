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

namespace slot {
constexpr int TransactionType = 1;
constexpr int AccountReference = 2;
constexpr int TransactionNo = 29;
constexpr int GlobalTaxCode = 39;
} // namespace slot

} // namespace importer
