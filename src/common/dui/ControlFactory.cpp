#include "common/dui/ControlFactory.h"

#include "common/dui/CCheckButton.h"
#include "common/dui/CDeviceList.h"
#include "common/dui/CRecordList.h"
#include "common/dui/DListBox.h"
#include "common/dui/DPIControl.h"
#include "common/dui/MButton.h"
#include "common/dui/MComboBox.h"
#include "common/dui/MEdit.h"
#include "common/dui/MPalette.h"
#include "common/dui/MPicture.h"
#include "common/dui/MProgress.h"
#include "common/dui/MSlider.h"
#include "common/dui/MTabCtrl.h"
#include "common/dui/MTabLayout.h"
#include "common/dui/MouseCtrl.h"
#include "common/dui/MouseKeyCtrl.h"
#include "common/dui/PopupList.h"
#include "common/dui/ReporteCtrl.h"

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
        {"MPicture", Entry<MPicture>()},
        {"MText", Entry<MText>()},
        {"MButton", Entry<MButton>()},
        {"MButton3", Entry<MButton3>()},
        {"CImageButton", Entry<CImageButton>()},
        {"CIconButton", Entry<CIconButton>()},
        {"CHelpButton", Entry<CHelpButton>()},
        {"CCheckButton", Entry<CCheckButton>()},
        {"CRadioButton", Entry<CRadioButton>()},
        {"CColorButton", Entry<CColorButton>()},
        {"MEdit", Entry<MEdit>()},
        {"NumberEdit", Entry<NumberEdit>()},
        {"MComboBox", Entry<MComboBox>()},
        {"MComboBox2", Entry<MComboBox2>()},
        {"MProgress", Entry<MProgress>()},
        {"MProgress2", Entry<MProgress2>()},
        {"DPISlider", Entry<DPISlider>()},
        {"LightSlider", Entry<LightSlider>()},
        {"DPIControl", Entry<DPIControl>()},
        {"ReporteCtrl", Entry<ReporteCtrl>()},
        {"MPalette", Entry<MPalette>()},
        {"CDeviceList", Entry<CDeviceList>()},
        {"CDeviceState", Entry<CDeviceState>()},
        {"BatteryCtrl", Entry<BatteryCtrl>()},
        {"MouseCtrl", Entry<MouseCtrl>()},
        {"MouseKeyCtrl", Entry<MouseKeyCtrl>()},
        {"DListBox", Entry<DListBox>()},
        {"MacroList", Entry<MacroList>()},
        {"CRecordList", Entry<CRecordList>()},
        {"PopupList", Entry<PopupList>()},
        {"MTabCtrl", Entry<MTabCtrl>()},
        {"MTabLayout", Entry<MTabLayout>(true)},
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
