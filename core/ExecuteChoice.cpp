#include "ExecuteChoice.h"

#include "Execute.h"
#include "ModuleProfiles.h"

namespace dnl {

void ExecuteChoice(const ConverterState& state, bool backupWanted, StatusLog& log,
                   BusyCursor& cursor, const StopRequest* stop) {
    const ModuleProfile* profile = ProfileFor(state.moduleIndex);
    if (profile == nullptr) {
        log.AddLine("No module is selected");
        return;
    }
    if (profile->rewritesMisc && !state.miscChosen) {
        log.AddLine("No MISC format is selected");
        return;
    }
    Execute(state.path, state, backupWanted, log, cursor, {}, stop);
}

}  // namespace dnl
