#pragma once

#include "app/import/ErrorListView.h"

#include "platform/forms/Form.h"

#include <memory>

namespace Ui {
class FrmErrlog;
}

namespace widgets {
class ListItem;
class ListView;
} // namespace widgets

namespace mainwindow {
class LogViewerControls;
}

// "Error Log": one row per error entry of the last pass. Refresh validates the
// import file again (both passes, nothing posted); a double-click on a row opens the
// import file at the error's line. Loaded hidden at start-up, shown by the main
// window; closing it only hides it.
class FrmErrlog : public forms::Form, public importer::ErrorListView
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

    void btnClose_Click();
    void CmdRefresh_Click();
    void ListView1_DblClick(widgets::ListItem* item);

protected:
    void formLoad() override;
    void formUnload() override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Resize();

    std::unique_ptr<Ui::FrmErrlog> m_ui;
    std::unique_ptr<mainwindow::LogViewerControls> m_controls;
};
