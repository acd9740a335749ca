#pragma once

class QWidget;

// The forms the main window opens and closes that are built elsewhere (settings,
// About, the two log viewers, splash, login, layout editor, folder picker). The main
// window reaches them only through these calls.
namespace mainwindow::otherforms {

// frmSettings modal over `owner`; when it closes it is loaded again, hidden, so that
// its boxes stay readable.
void showSettings(QWidget* owner);
// frmAbout modal over `owner`.
void showAbout(QWidget* owner);
// frmAbout loaded and shown modeless.
void showAboutModeless();
// frmErrors (the import log) / FrmErrlog (the error list) modal over `owner`.
void showImportLog(QWidget* owner);
void showErrorList(QWidget* owner);
// Unloads, in this order, those of frmSplash, frmSettings, frmErrors, FrmErrlog,
// FrmFileStructure, frmAbout and frmDirPath that exist.
void unloadOthers();
// Unloads frmLogin, whose unload ends the program; without a login form (the window
// opened on its own) the program is ended here.
void unloadLogin();

} // namespace mainwindow::otherforms
