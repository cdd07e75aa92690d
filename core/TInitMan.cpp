#include "core/TInitMan.h"

#include <limits>

TInitMan* InitManager = new TInitMan();

// The count is 16 bits wide; a routine beyond its range is not registered, so the count
// always matches the list.
void AddInitProc(TInitMan* manager, TInitProc proc) {
    if (manager == nullptr || manager->ProcCount == std::numeric_limits<std::uint16_t>::max()) {
        return;
    }
    manager->Procs.push_back(proc);
    ++manager->ProcCount;
}

// Indexes are used rather than iterators so that a routine may register another one; the
// new routine runs in the same pass.
void RunInitProcs(TInitMan* manager) {
    if (manager == nullptr) {
        return;
    }
    for (std::uint16_t index = 0; index < manager->ProcCount; ++index) {
        const TInitProc proc = manager->Procs[index];
        if (proc.Code != nullptr) {
            proc.Code(proc.Object);
        }
    }
}
