// What a configuration page may reach of the window and the controller: the store, the task
// queue, the current profile and the model's flags, the mouse's sensor state, and the texts.
// Pages never include the main window; they get this context and register the hooks by which
// the window brings them in line with the store after the controller's refreshes.
#pragma once

#include <functional>
#include <optional>

#include "catalogue/DeviceDescription.h"
#include "device/DpiCodec.h"

namespace cursorial {

class ConfigDatabase;
class LanguageTexts;

// A page's answers to the controller's refreshes; each may be empty.
struct PageHooks {
    std::function<void()> refreshButtons;
    std::function<void()> refreshMacros;
    std::function<void()> refreshPerformance;
    std::function<void()> refreshLighting;
    std::function<void()> refreshDpi;  // the DPI controls alone (the DPI defaults task)
    std::function<void(int sensor, const SensorProfile&)> showSensor;
    std::function<void(std::optional<int> count, std::optional<int> stage)> dpiChange;
    std::function<void()> closePopups;  // stop a recording, drop a key capture
    std::function<void()> applyTexts;
};

class PageContext {
public:
    virtual ~PageContext() = default;
    virtual ConfigDatabase& Store() = 0;
    // Hands a device write to the worker (the page has stored the setting before).
    virtual void QueueTask(int code) = 0;
    // Shows the saving notice when the model's description allows it.
    virtual void ShowSavingNotice() = 0;
    virtual int CurrentProfile() const = 0;
    virtual DescriptionState Description() const = 0;
    virtual int SensorCode() const = 0;
    virtual DpiLimits Limits() const = 0;
    virtual int RateClass() const = 0;
    virtual int LightMode() const = 0;
    virtual void SetLightMode(int mode) = 0;
    // The button page assigned a macro to this button: the next button write sends it first.
    virtual void SetPendingMacro(int keyCode) = 0;
    virtual const LanguageTexts& PageTexts() const = 0;
    virtual void RegisterPage(PageHooks hooks) = 0;
};

}  // namespace cursorial
