#include "common/dui/ControlFactory.h"

#include "common/dui/CCheckButton.h"
#include "common/dui/MButton.h"
#include "common/dui/MPicture.h"
#include "common/dui/MTabCtrl.h"
#include "common/dui/MTabLayout.h"

#include <algorithm>
#include <map>

namespace DUI {

namespace {

struct ClassEntry {
    ControlMaker maker;
    bool container = false;
};

template <class T>
ClassEntry Entry(bool container = false) {
    return {[] { return static_cast<MControl*>(new T()); }, container};
}

// Every class of the kit, listed here rather than registered from each file: a static library
// drops files nothing refers to, and their registrations with them.
std::map<std::string, ClassEntry, std::less<>>& Classes() {
    static std::map<std::string, ClassEntry, std::less<>> classes = {
        {"MPicture", Entry<MPicture>()},         {"MText", Entry<MText>()},
        {"MButton", Entry<MButton>()},           {"MButton3", Entry<MButton3>()},
        {"CImageButton", Entry<CImageButton>()}, {"CIconButton", Entry<CIconButton>()},
        {"CHelpButton", Entry<CHelpButton>()},   {"CCheckButton", Entry<CCheckButton>()},
        {"CRadioButton", Entry<CRadioButton>()}, {"CColorButton", Entry<CColorButton>()},
        {"MTabCtrl", Entry<MTabCtrl>()},         {"MTabLayout", Entry<MTabLayout>(true)},
        {"CArea", Entry<CArea>(true)},
    };
    return classes;
}

}  // namespace

void RegisterControlClass(std::string_view className, ControlMaker maker, bool container) {
    Classes()[std::string(className)] = ClassEntry{std::move(maker), container};
}

MControl* MakeControl(std::string_view className, bool* container) {
    auto& classes = Classes();
    auto it = classes.find(className);
    if (it == classes.end() || !it->second.maker) {
        return nullptr;
    }
    if (container) {
        *container = it->second.container;
    }
    return it->second.maker();
}

std::vector<std::string> ControlClassNames() {
    std::vector<std::string> names;
    for (const auto& [name, entry] : Classes()) {
        names.push_back(name);
    }
    return names;
}

}  // namespace DUI
