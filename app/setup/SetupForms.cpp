#include "app/setup/SetupForms.h"

#include "app/session/FormResolver.h"
#include "app/session/ProgramSession.h"
#include "app/setup/FrmFileStructure.h"
#include "app/setup/frmSettings.h"

namespace setup {

void registerForms(session::ProgramSession& session)
{
    session.settingsForm().form.install(
        session::defaultInstanceOf<importer::SettingsFormView, frmSettings>());
    settingsOptionsForm().install(session::defaultInstanceOf<SettingsOptions, frmSettings>());

    // Save reads the editor's field boxes through its default instance, which loads
    // it hidden from the layout files when it is not loaded (or was loaded from
    // another folder or for the other import mode).
    frmSettings::FileStructureEditor& editor = frmSettings::fileStructureEditor();
    editor.fieldTexts = [](const QString&) {
        const FrmFileStructure& structure = FrmFileStructure::current();
        QStringList texts;
        for (int i = 1; i <= 54; ++i)
            texts << structure.TxtField(i);
        return texts;
    };
    editor.showModal = [](QWidget* owner) { FrmFileStructure::current().showModal(owner); };
}

} // namespace setup
