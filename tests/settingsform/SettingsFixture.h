#pragma once

#include "app/import/MainWindowView.h"

#include "platform/automation/Object.h"
#include "platform/forms/Form.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <memory>

namespace session {
class ProgramSession;
}

// What the settings form's tests and its screenshots share: a stand-in of the main
// window (the labels and menu entries the settings form sets), company folders made
// by the package's own tool, layout files, and a session wired to them.
class TestMainWindow : public forms::Form, public importer::MainWindowView
{
public:
    TestMainWindow() { setObjectName(QStringLiteral("frmmain")); }

    QString LblCorvelVersion;
    QString lblconame;
    bool mnuFilenew = false;
    QMap<int, bool> toolbarEnabled;

    void setToolbarButtonEnabled(int index, bool enabled) override { toolbarEnabled[index] = enabled; }
    void setToolbarButtonCaption(int, const QString&) override {}
    QString txtImportFile() const override { return {}; }
    void setTxtImportFile(const QString&) override {}
    void setTxtLineNo(const QString&) override {}
    void setTxtCurrentLine(const QString&) override {}
    void setLblStatus(const QString&) override {}
    void setValidationProgressBarValue(int) override {}
    void setValidationProgressBarMax(int) override {}
    void setValidationProgressBarVisible(bool) override {}
    void playAnimation1(const QString&) override {}
    void stopAnimation1() override {}
    void setAnimation1Visible(bool) override {}
    void setErrorsFoundIMG(bool, bool) override {}
    void setNoErrorFoundIMG(bool, bool) override {}
    void setImgRedVisible(bool) override {}
    void setMnuFilenewEnabled(bool enabled) override { mnuFilenew = enabled; }
    void setMnuFileViewErrorsEnabled(bool) override {}
    void setMnuFileStartImportEnabled(bool) override {}
    void setMnuFileStartImportCaption(const QString&) override {}
    QString lblCorvelVersion() const override { return LblCorvelVersion; }
    void setLblCorvelVersion(const QString& caption) override { LblCorvelVersion = caption; }
    void setLblconame(const QString& caption) override { lblconame = caption; }
    void setLblVersion(const QString&) override {}
    // Not `override`: the main window's view gains this member on its own branch.
    QString lblVersion() const { return {}; }
};

// The root drive C: is the whole machine: the search sees only the drives the
// test's mount table adds. Everything else goes to Drivewalk's real object.
class WithoutRootDrive : public automation::Object
{
public:
    explicit WithoutRootDrive(automation::ObjectRef real) : m_real(std::move(real)) {}
    QString className() const override { return m_real->className(); }
    automation::DispId idOfName(const QString& name) const override { return m_real->idOfName(name); }
    automation::Variant invoke(automation::DispId id, automation::Invoke kind, automation::Args& args,
                               const automation::Variant& value) override;

private:
    automation::ObjectRef m_real;
};

void writeFile(const QString& path, const QByteArray& bytes);
// A company data folder and, with a program folder, its line in that folder's
// company file and the program files beside it: made by `vorlentool create`.
void makeCompany(const QString& companyFolder, const QString& version, const QString& name,
                 const QString& programFolder = {});
// A column layout file "qfm.cfg" (54 lines, the titles first) and an empty grouping file.
void writeLayout(const QString& folder, const QStringList& titles);
// Points the drive letters at a mount table: C: the root, then each folder as D:, E:, ...
void mountDrives(const QString& tableFile, const QStringList& folders);

// Registers Drivewalk into the hives the environment names and makes its object.
automation::ObjectRef registeredFileSearch();
// Installs the settings forms and the stand-in main window into the session, and
// hands out `fileSearch` as the session's filesech object.
void wireSession(session::ProgramSession& session, automation::ObjectRef fileSearch);
// Unloads the settings form, the folder picker and the main window and lets them go.
void unloadForms();
