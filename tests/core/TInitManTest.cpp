#include "core/TInitMan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

// Routines append their own name to a shared journal when they run.
struct Routine {
    std::string Name;
    std::vector<std::string>* Journal;
};

void RecordRun(void* object) {
    auto* routine = static_cast<Routine*>(object);
    routine->Journal->push_back(routine->Name);
}

TInitProc ProcFor(Routine& routine) {
    return TInitProc{RecordRun, &routine};
}

TEST(InitManager, ExistsEmptyBeforeMainRuns) {
    ASSERT_NE(InitManager, nullptr);
    EXPECT_EQ(InitManager->ProcCount, 0);
    EXPECT_TRUE(InitManager->Procs.empty());
}

TEST(RunInitProcs, DoesNothingWithoutRoutines) {
    TInitMan manager;
    RunInitProcs(&manager);
    EXPECT_EQ(manager.ProcCount, 0);
    RunInitProcs(nullptr);
}

TEST(RunInitProcs, RunsEachRoutineOnceInRegistrationOrder) {
    std::vector<std::string> journal;
    Routine form{"form", &journal};
    Routine timer{"timer", &journal};
    Routine list{"list", &journal};
    TInitMan manager;
    for (Routine* routine : {&form, &timer, &list}) {
        AddInitProc(&manager, ProcFor(*routine));
    }
    EXPECT_EQ(manager.ProcCount, 3);
    EXPECT_EQ(manager.Procs.size(), 3u);

    RunInitProcs(&manager);
    EXPECT_EQ(journal, (std::vector<std::string>{"form", "timer", "list"}));
}

TEST(RunInitProcs, SkipsRoutinesWithoutCode) {
    std::vector<std::string> journal;
    Routine only{"only", &journal};
    TInitMan manager;
    AddInitProc(&manager, TInitProc{nullptr, &only});
    AddInitProc(&manager, ProcFor(only));
    RunInitProcs(&manager);
    EXPECT_EQ(journal, (std::vector<std::string>{"only"}));
}

// A routine that registers another one while the list runs; the list grows under it.
struct Registrar {
    TInitMan* Manager;
    Routine* Late;
    std::vector<std::string>* Journal;
};

void RegisterLate(void* object) {
    auto* registrar = static_cast<Registrar*>(object);
    registrar->Journal->push_back("registrar");
    AddInitProc(registrar->Manager, ProcFor(*registrar->Late));
}

TEST(RunInitProcs, RunsARoutineRegisteredDuringTheRun) {
    std::vector<std::string> journal;
    Routine late{"late", &journal};
    TInitMan manager;
    Registrar registrar{&manager, &late, &journal};
    AddInitProc(&manager, TInitProc{RegisterLate, &registrar});
    RunInitProcs(&manager);
    EXPECT_EQ(journal, (std::vector<std::string>{"registrar", "late"}));
    EXPECT_EQ(manager.ProcCount, 2);
}

TEST(AddInitProc, KeepsTheCountEqualToTheListAtItsLimit) {
    constexpr std::uint16_t Limit = std::numeric_limits<std::uint16_t>::max();
    std::vector<std::string> journal;
    Routine routine{"r", &journal};
    TInitMan manager;
    for (std::uint32_t i = 0; i < Limit + 1u; ++i) {
        AddInitProc(&manager, ProcFor(routine));
    }
    EXPECT_EQ(manager.ProcCount, Limit);
    EXPECT_EQ(manager.Procs.size(), Limit);
    RunInitProcs(&manager);
    EXPECT_EQ(journal.size(), Limit);
    AddInitProc(nullptr, ProcFor(routine));
}

} // namespace
