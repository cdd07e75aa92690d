#include "toolkit/TObj.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

// What happened to a probe, in order, and what DestroyNotify saw.
struct Journal {
    std::vector<std::string> Events;
    std::vector<TObj*> NotifiedSenders;
    std::int32_t HoldCountAtNotify = 0;
};

class Probe : public TObj {
public:
    static Probe* Create(Journal& journal, bool failInit = false) {
        Probe* probe = Created(new Probe(journal, failInit));
        probe->DestroyNotify = TCallback{&Probe::RecordNotify, &journal};
        return probe;
    }

protected:
    Probe(Journal& journal, bool failInit) : journal(journal), failInit(failInit) {}
    ~Probe() override { journal.Events.push_back("clean-up"); }

    void InitFields() override {
        TObj::InitFields();
        journal.Events.push_back("init");
        if (failInit) {
            throw std::runtime_error("init failed");
        }
    }

private:
    static void RecordNotify(void* context, TObj* sender) {
        auto* journal = static_cast<Journal*>(context);
        journal->Events.push_back("notify");
        journal->NotifiedSenders.push_back(sender);
        journal->HoldCountAtNotify = sender->HoldCount();
    }

    Journal& journal;
    bool failInit;
};

TEST(TObjTest, CreationRunsInitFieldsOnceAndAFailureDestroysTheObject) {
    Journal journal;
    Probe* probe = Probe::Create(journal);
    EXPECT_EQ(journal.Events, std::vector<std::string>{"init"});
    EXPECT_EQ(probe->HoldCount(), 0);
    Free(probe);

    Journal failing;
    EXPECT_THROW(Probe::Create(failing, true), std::runtime_error);
    EXPECT_EQ(failing.Events, (std::vector<std::string>{"init", "clean-up"}));
}

TEST(TObjTest, HoldsDelayDestructionUntilTheLastHolderLetsGo) {
    struct Step {
        char Operation;         // H AddHold, F Free, D DropHold
        std::int32_t HoldCount; // after the step, or while being destroyed
        bool Destroyed;
    };
    struct Case {
        const char* Name;
        std::vector<Step> Steps;
    };
    const Case cases[] = {
        {"free unheld", {{'F', 0, true}}},
        {"free while held", {{'H', 2, false}, {'F', 1, false}, {'F', 1, false}, {'D', -1, true}}},
        {"held and released, then freed", {{'H', 2, false}, {'D', 0, false}, {'F', 0, true}}},
        {"two holders",
         {{'H', 2, false}, {'H', 4, false}, {'F', 3, false}, {'D', 1, false}, {'D', -1, true}}},
        {"drop without hold", {{'D', -2, false}, {'F', -3, false}, {'D', -5, true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Journal journal;
        Probe* probe = Probe::Create(journal);
        TObj* const address = probe;
        for (const Step& step : c.Steps) {
            SCOPED_TRACE(step.Operation);
            if (step.Operation == 'H') {
                AddHold(probe);
            } else if (step.Operation == 'F') {
                Free(probe);
            } else {
                DropHold(probe);
            }
            ASSERT_EQ(!journal.NotifiedSenders.empty(), step.Destroyed);
            EXPECT_EQ(step.Destroyed ? journal.HoldCountAtNotify : probe->HoldCount(),
                      step.HoldCount);
        }
        // The class cleans up first; DestroyNotify then runs once, with the object.
        EXPECT_EQ(journal.NotifiedSenders, std::vector<TObj*>{address});
        EXPECT_EQ(journal.Events, (std::vector<std::string>{"init", "clean-up", "notify"}));
    }
}

} // namespace
