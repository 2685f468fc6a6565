#include "app/AppConfig.h"

#include "common/text/WideText.h"
#include "common/xml/XmlDocument.h"

namespace cursorial {

bool ReadAppConfig(const std::filesystem::path& config_file, AppConfig& config) {
    config.languages.clear();
    XmlDocument document;
    if (!document.LoadFile(config_file) || !document.FindElement(u"config") ||
        !document.EnterElement()) {
        return false;
    }
    if (document.FindElement(u"language.info")) {
        config.default_language = TextToInt(document.GetAttribute(u"default_lan"));
        document.EnterElement();
        while (document.FindElement(u"lan")) {
            config.languages.insert(TextToInt(document.GetAttribute(u"value")));
        }
        document.LeaveElement();
    }
    // An empty name would leave the settings key, the data folder and the instance lock
    // without a name of their own, so it counts as none.
    if (document.FindElement(u"software")) {
        std::u16string caption = document.GetAttribute(u"caption");
        if (!caption.empty())
            config.application_name = std::move(caption);
    }
    return true;
}

}  // namespace cursorial
