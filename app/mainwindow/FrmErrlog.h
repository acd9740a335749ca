#pragma once

#include "app/import/ErrorListView.h"
#include "app/mainwindow/LogViewerForm.h"

#include <memory>

namespace Ui {
class FrmErrlog;
}

namespace widgets {
class ListItem;
class ListView;
} // namespace widgets

// "Error Log": one row per error entry of the last pass. Refresh validates the
// import file again (both passes, nothing posted); a double-click on a row opens the
// import file at the error's line. Loaded hidden at start-up, shown by the main
// window; closing it only hides it.
class FrmErrlog : public mainwindow::LogViewerForm, public importer::ErrorListView
{
public:
    FrmErrlog();
    ~FrmErrlog() override;

    void clearListView1() override;
    int32_t listView1Count() const override;
    // Raises 35600 for a position outside 1 to count + 1.
    void addListView1Row(int32_t position, const QString& description, const QString& lineNo,
                         const QString& column, const QString& value) override;
    // Modal over the main window; when the window is shown already it is only
    // brought to the front (a Refresh runs from inside it).
    void showModal() override;

    widgets::ListView* listView1() const;

    void CmdRefresh_Click();
    void ListView1_DblClick(widgets::ListItem* item);

protected:
    // The list and the Refresh and Open buttons keep their design place.
    void Form_Resize() override { layOutSharedRow(false); }

private:
    std::unique_ptr<Ui::FrmErrlog> m_ui;
};
