#include "ProgramJournal.h"

#include "ConfigEditor.h"
#include "JournalLocation.h"
#include "PortDevice.h"

namespace zmt {

std::unique_ptr<journal::OperationJournal> MakeProgramJournal(const QString& path,
                                                              const ConfigEditor& editor,
                                                              const link::PortSetup& ports) {
    auto context = [&editor, catalog = ports.catalog](const OperationReport* report) {
        const SessionState& session = editor.session();
        journal::JournalContext context;
        context.language = session.LanguageIndex;
        context.file = session.LoadedFileName;
        if (report)
            context.device = journal::DeviceOfCom(
                session.ComPortNumber, catalog ? catalog->list() : std::vector<link::PortEntry>{});
        return context;
    };
    return std::make_unique<journal::OperationJournal>(
        path.isEmpty() ? journal::JournalPath() : path, editor.texts(), context);
}

}  // namespace zmt
