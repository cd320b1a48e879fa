#include "diag/ExitActions.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace {

// A handful of modules register at most one action each: a fixed list needs
// no allocation on the way out, which may be the out-of-memory path itself.
class ActionList {
public:
    void add(ExitAction action) {
        if (action == nullptr || std::find(actions_.begin(), actions_.begin() + count_, action) != actions_.begin() + count_)
            return;
        if (count_ < actions_.size()) actions_[count_++] = action;
    }
    void run() const {
        for (size_t i = 0; i < count_; ++i) actions_[i]();
    }
    void clear() { count_ = 0; }

private:
    std::array<ExitAction, 8> actions_{};
    size_t count_ = 0;
};

ActionList exitActions;
ActionList beforeErrorActions;

}  // namespace

void addExitAction(ExitAction action) { exitActions.add(action); }
void addBeforeErrorAction(ExitAction action) { beforeErrorActions.add(action); }
void runExitActions() { exitActions.run(); }
void runBeforeErrorActions() { beforeErrorActions.run(); }

void clearExitActions() {
    exitActions.clear();
    beforeErrorActions.clear();
}
