#pragma once

#include <cstdint>
#include <vector>

// A start-up routine: code plus the object it runs on.
struct TInitProc {
    void (*Code)(void* object) = nullptr;
    void* Object = nullptr;
};

// Collects the routines that run once the application is up.
class TInitMan {
public:
    std::vector<TInitProc> Procs;
    std::uint16_t ProcCount = 0;
};

// Created empty before main runs; start-up destroys it and sets it to null.
extern TInitMan* InitManager;

void AddInitProc(TInitMan* manager, TInitProc proc);
void RunInitProcs(TInitMan* manager);
