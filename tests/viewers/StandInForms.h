#pragma once

#include "tests/import/FakeViews.h"

#include "platform/forms/Form.h"

namespace session {
class ProgramSession;
}

// Forms standing in for the main window and the settings form, the two windows the
// viewers' Refresh reaches besides themselves: the import's recording fakes as
// forms, filled from the stored settings when they load, as the real forms are.
class StandInMainWindow : public forms::Form, public FakeMainWindow
{
public:
    StandInMainWindow() { setObjectName(QStringLiteral("frmmain")); }

protected:
    void formLoad() override;
};

class StandInSettingsForm : public forms::Form, public FakeSettingsForm
{
public:
    StandInSettingsForm() { setObjectName(QStringLiteral("frmSettings")); }

protected:
    void formLoad() override;
};

// Installs the stand-ins into the session's main-window and settings-form views.
void registerStandInForms(session::ProgramSession& session);
// Unloads the stand-ins and both viewers, and lets their deletion happen.
void unloadAllForms();
