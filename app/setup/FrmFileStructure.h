#pragma once

#include "app/import/LayoutFiles.h"

#include "platform/forms/Form.h"

#include <QString>

#include <array>
#include <memory>

class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace Ui {
class FrmFileStructure;
}

// The layout editor: which known field each column of the import file holds
// (TxtField 1 to 54), and up to four fields that group lines into one document
// (TxtIndex 1 to 4). Titles come from two lists by double-click; Save checks the
// layout against the settings form's present options and writes "qfm.cfg" and
// "qfm2.cfg"; Store and Restore keep and bring back named templates of the pair.
// Opened modal from the settings form; the settings form's Save also reads the
// field boxes through the default instance, which loads the editor hidden:
//   forms::DefaultInstance<FrmFileStructure>::get().TxtField(i)
class FrmFileStructure : public forms::Form
{
public:
    static constexpr int FieldCount = importer::SlotCount;
    static constexpr int IndexCount = 4;

    FrmFileStructure();
    ~FrmFileStructure() override;

    // The text of column box i (1 to 54) and of grouping box i (1 to 4).
    QString TxtField(int i) const;
    QString TxtIndex(int i) const;
    // The box last double-clicked, column or grouping box alike; 0 at load.
    int CurrentBoxIndex() const { return m_currentBoxIndex; }

    // The default instance as the settings form reads or shows it. The instance a
    // Save loaded hidden stays loaded; once the templates folder or the import mode
    // it was loaded with has changed, it is loaded afresh, so what is read or shown
    // is the layout of the folder now set, with the titles of the mode now chosen.
    static FrmFileStructure& current();

    // Appends the offered titles to both lists (without emptying them first).
    void faddvorlenfields();

    void TxtField_DblClick(int index);
    void TxtIndex_DblClick(int index);
    void LstVorlenFields_DblClick(QListWidgetItem* item);
    void LstVorlenFields2_DblClick(QListWidgetItem* item);
    void btnSave_Click();
    void btnCancel_Click();
    void CmdStore_Click();
    void CmdRestorefromFile_Click();

protected:
    void formLoad() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QString, FieldCount> fieldTexts() const;
    importer::GroupTitles indexTexts() const;
    // Fills the boxes from a layout as read and takes its titles out of the lists.
    void showLayout(const importer::EditorLayout& layout);
    bool checkLayout();
    // Whether Store may use the name; says why not when it may not.
    static bool acceptTemplateName(const QString& name);

    std::unique_ptr<Ui::FrmFileStructure> m_ui;
    std::array<QLineEdit*, FieldCount> m_fields{};
    std::array<QLineEdit*, IndexCount> m_index{};
    int m_currentBoxIndex = 0;
    // What the load read: the templates folder and the import mode.
    QString m_loadedFolder;
    int16_t m_loadedImportToSop = 0;
};
