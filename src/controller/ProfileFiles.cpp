#include "controller/ProfileFiles.h"

#include <QFile>
#include <QFileDialog>
#include <QString>
#include <QStringList>

#include "app/LanguageTexts.h"
#include "common/dui/MWindow.h"
#include "dialogs/CUIMessageBox.h"
#include "exchange/ProfileExchange.h"

namespace cursorial {

std::filesystem::path ChooseProfilePath(DUI::MWindow* owner, ProfileFileDialog dialog) {
    const bool save = dialog == ProfileFileDialog::kSave;
    QFileDialog files(owner ? owner->GetWidget() : nullptr);
    files.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    files.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    files.setNameFilter(save ? QStringLiteral("Profile (*.xml)")
                             : QStringLiteral("MouseKey (*.xml)"));
    if (save) {
        // The import names the profile after the file without its last four characters, so a
        // saved name always ends in ".xml".
        files.setDefaultSuffix(QStringLiteral("xml"));
    }
    if (files.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = files.selectedFiles();
    if (chosen.isEmpty() || chosen.front().isEmpty())
        return {};
    return std::filesystem::path(QFile::encodeName(chosen.front()).toStdString());
}

ProfileFiles::ProfileFiles(DUI::MWindow* owner, const LanguageTexts& texts, ConfigDatabase& store,
                           ProfilePathChooser choosePath)
    : owner_(owner),
      texts_(texts),
      store_(store),
      choosePath_(choosePath ? std::move(choosePath) : ProfilePathChooser(ChooseProfilePath)) {}

bool ProfileFiles::Import(int currentProfile, bool hasLighting) {
    const std::filesystem::path file = choosePath_(owner_, ProfileFileDialog::kOpen);
    if (file.empty()) {
        last_ = ExchangeResult::kCancelled;
        return false;
    }
    last_ = ImportProfile(store_, currentProfile, file, hasLighting);
    if (last_ != ExchangeResult::kOk) {
        Tell(kImportFailedText);
        return false;
    }
    return true;
}

bool ProfileFiles::Export(int profile, std::u16string_view displayName, bool hasLighting) {
    const std::filesystem::path file = choosePath_(owner_, ProfileFileDialog::kSave);
    if (file.empty()) {
        last_ = ExchangeResult::kCancelled;
        return false;
    }
    last_ = ExportProfile(store_, profile, displayName, hasLighting, file);
    if (last_ != ExchangeResult::kOk) {
        Tell(kExportFailedText);
        return false;
    }
    return true;
}

void ProfileFiles::Tell(int textId) const {
    CUIMessageBox::Show(owner_, texts_, texts_.Text(textId), texts_.Text(text_id::kNoticeTitle),
                        CUIMessageBox::kStyleOneButton);
}

}  // namespace cursorial
