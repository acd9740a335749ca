#pragma once

#include "app/import/ImportLogView.h"
#include "app/mainwindow/LogViewerForm.h"

#include <memory>

class QTextDocument;

namespace Ui {
class frmErrors;
}

// "Import Log": shows the import log that the two stages and the driver append to.
// Loaded hidden at start-up, shown by the main window; closing it only hides it.
// The log's own text lives in the session (ForwardingImportLog); this window shows
// it when it loads and then follows every change.
class frmErrors : public mainwindow::LogViewerForm, public importer::ImportLogView
{
public:
    frmErrors();
    ~frmErrors() override;

    // The log as the import wrote it, CR LF line ends and all.
    QString txtImportText() const override;
    void setTxtImportText(const QString& text) override;
    void appendTxtImportText(const QString& text) override;
    // Shows the window, not modal.
    void show() override;

    // What is shown in txtImportText, as it is printed.
    const QTextDocument* importTextDocument() const;

protected:
    void loaded() override;
    void Form_Resize() override;
    // Shown, the window shows the log's lines held back during an import too.
    void showEvent(QShowEvent* event) override;

private:
    void showText(const QString& text);

    std::unique_ptr<Ui::frmErrors> m_ui;
    QString m_text;
};
