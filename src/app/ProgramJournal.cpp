#include "app/ProgramJournal.h"

#include "app/JournalWindow.h"
#include "device/DeviceImage.h"
#include "device/ZMTUnit1.h"
#include "editor/ConfigEditor.h"
#include "editor/PortController.h"
#include "journal/JournalLocation.h"
#include "journal/PortDevice.h"

namespace zmt {

std::unique_ptr<journal::OperationJournal> MakeProgramJournal(const QString& path,
                                                              const ConfigEditor& editor,
                                                              const link::PortSetup& ports) {
    auto context = [&editor, catalog = ports.catalog,
                    comPorts = ports.comPorts](const OperationReport* report) {
        const SessionState& session = editor.session();
        journal::JournalContext context;
        context.language = session.LanguageIndex;
        context.file = session.LoadedFileName;
        if (!report) return context;
        const auto listed = catalog ? catalog->list() : std::vector<link::PortEntry>{};
        // The port as the program opens it: the demo's COM numbers reach simulated ones.
        context.device = comPorts ? journal::DeviceOfCom(session.ComPortNumber, *comPorts, listed)
                                  : journal::DeviceOfCom(session.ComPortNumber, listed);
        return context;
    };
    return std::make_unique<journal::OperationJournal>(
        path.isEmpty() ? journal::JournalPath() : path, editor.texts(), context);
}

std::unique_ptr<TJournalForm> MakeJournalForm(journal::OperationJournal& journal,
                                              ConfigEditor& editor, DeviceState& device,
                                              PortController& controller,
                                              TProgramForm& operations) {
    JournalWindowContext context{
        journal.path(), editor.texts(), [&editor] { return editor.session().LanguageIndex; },
        [&device, &editor, &controller](const journal::JournalRecord& record) {
            std::copy(record.asFound->begin(), record.asFound->end(), device.ReadWords.begin());
            device.DeviceImage = *record.asFound;
            controller.EditorStep([&](Effects& fx) { ImageToConfig(device, editor, fx); });
        },
        [&journal, &operations](const journal::JournalRecord& record) {
            OperationSequencer& steps = operations.sequencer();
            steps.setRestore(
                {*record.asFound,
                 QStringLiteral("%1, %2 %3").arg(record.time, record.port, record.device),
                 record.written});
            steps.setModeOverride(OperationMode::Restore);
            journal.setRestoredFrom(record.id);
            operations.exec();
            steps.setModeOverride(std::nullopt);
            journal.setRestoredFrom(QString());
        }};
    return std::make_unique<TJournalForm>(std::move(context));
}

}  // namespace zmt
