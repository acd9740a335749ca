#pragma once

#include "app/setup/FrmFileStructure.h"
#include "app/setup/SettingsOptions.h"

#include "platform/forms/FileDialog.h"
#include "platform/forms/MessageService.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class QWidget;

// What the layout editor's tests share: a configuration folder of their own named
// in the settings store, the settings form's options as a stand-in, scripted
// message boxes and file dialogs, and the editor driven by double-clicks.
namespace layouteditor {

// The settings form's option boxes, as the editor reads them.
struct StubOptions : setup::SettingsOptions
{
    int cashWithInvoice = 0;
    int importTransNo = 0;
    int16_t importToSop = 0;

    int cbxCashWithInvoice() const override { return cashWithInvoice; }
    int cbximporttransno() const override { return importTransNo; }
    int16_t ImportToSop() const override { return importToSop; }
};

class EditorFixture
{
public:
    // Points "pellmoorconfigdir" at `folder` (a fresh temporary folder when empty)
    // and installs the stand-ins.
    explicit EditorFixture(const QString& folder = {});
    ~EditorFixture();
    EditorFixture(const EditorFixture&) = delete;
    EditorFixture& operator=(const EditorFixture&) = delete;

    QString folder() const { return m_folder; }
    QString path(const QString& fileName) const;
    StubOptions& options() { return m_options; }
    forms::ScriptedMessageService& boxes() { return m_boxes->service(); }
    forms::ScriptedFileDialogService& dialogs() { return m_dialogs->service(); }
    // "title|text" of each box shown, in order.
    QStringList shown() const;

    // The editor's default instance, loaded (hidden) if it is not.
    static FrmFileStructure& editor();
    // The editor shown, so that its lists take double-clicks.
    static FrmFileStructure& shownEditor();
    static bool editorLoaded();
    // Unloads the editor and lets the deletion happen.
    static void unloadEditor();

    // Double-click on column box i / grouping box i, then on the entry `title` of
    // the list that opened; false when the list does not offer it.
    static bool pickColumn(int box, const QString& title);
    static bool pickGroup(int box, const QString& title);
    static void doubleClick(QWidget* widget);
    static bool doubleClickEntry(const char* listName, const QString& title);
    static QStringList entries(const char* listName);
    static QWidget* child(const char* name);

private:
    std::unique_ptr<QTemporaryDir> m_temporary;
    QString m_folder;
    StubOptions m_options;
    std::unique_ptr<forms::ScopedScriptedMessages> m_boxes;
    std::unique_ptr<forms::ScopedScriptedFileDialogs> m_dialogs;
    session::ViewResolver<setup::SettingsOptions>::Resolve m_previousOptions;
};

// Writes a hand-made layout file: each line and CR LF.
void writeLines(const QString& path, const QStringList& lines);
// The lines of a file, each ended by CR LF (an empty list when it is missing).
QStringList readLines(const QString& path);
// The 54 lines of a column file: the titles from column 1 on, the rest empty.
QStringList columnLines(const QStringList& titlesFromColumnOne);
// The 4 lines of a grouping file.
QStringList groupLines(const QStringList& titles);

} // namespace layouteditor
