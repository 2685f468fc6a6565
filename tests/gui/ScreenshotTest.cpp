// Pictures of the main window and the dialogs, drawn offscreen. Every run checks that they
// render at their sizes and are not blank; with CURSORIAL_SCREENSHOT_DIR set the pictures are
// also written there (docs/screenshots/README.md has the command).
#include <gtest/gtest.h>

#include <QImage>
#include <QSet>

#include <filesystem>

#include "GuiTestSupport.h"
#include "app/LanguageTexts.h"
#include "common/dui/RenderToPng.h"
#include "controller/DeviceMainDlg.h"
#include "dialogs/AboutDlg.h"
#include "dialogs/CUIMessageBox.h"
#include "platform/KeyValueStore.h"

namespace cursorial {
namespace {

using namespace DUI;
using testing::FakeIcon;
using testing::Pump;
using testing::ScratchFolder;
using testing::WhileModal;

// Writes the picture when a folder is asked for, and checks it either way.
void Keep(const QImage& image, QSize size, const char* name) {
    ASSERT_FALSE(image.isNull()) << name;
    EXPECT_EQ(image.size(), size) << name;
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 7) {
        for (int x = 0; x < image.width(); x += 7)
            colours.insert(image.pixel(x, y));
    }
    EXPECT_GT(colours.size(), 8) << name << " looks blank";
    const QString folder = qEnvironmentVariable("CURSORIAL_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        std::filesystem::create_directories(folder.toStdString());
        EXPECT_TRUE(image.save(folder + "/" + name)) << name;
    }
}

TEST(Screenshots, MainWindowInEnglishAndChinese) {
    ScratchFolder scratch;
    const KeyValueStore settings(scratch.Path() / "settings");
    settings.OpenOrCreate();
    LanguageTexts texts(CURSORIAL_OUTPUT_DIR, 1033);
    MainWindowContext context;
    context.dataFolder = CURSORIAL_OUTPUT_DIR;
    context.texts = &texts;
    context.settings = &settings;
    context.icon = std::make_unique<FakeIcon>(true);
    DeviceMainDlg window(std::move(context));
    window.Create(nullptr, u"Cursorial", WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0,
                  {0, 0, DeviceMainDlg::kWidth, DeviceMainDlg::kHeight});
    window.ShowWindow(SW_SHOW);
    Pump();
    Keep(RenderToImage(window), {1300, 788}, "main-window-en.png");
    window.SetLanguage(2052);
    Pump();
    Keep(RenderToImage(window), {1300, 788}, "main-window-zh.png");
}

TEST(Screenshots, MessageBoxAndAbout) {
    const LanguageTexts texts(CURSORIAL_OUTPUT_DIR, 1033);
    WhileModal([] {
        MWindow* box = MWindow::FindWindowByTitle(CUIMessageBox::kWindowTitle);
        ASSERT_NE(box, nullptr);
        Keep(RenderToImage(*box), {430, 230}, "message-box.png");
        box->PostMessage(WM_CLOSE, 2, 0);
    });
    CUIMessageBox::Show(nullptr, texts, texts.Text(571), texts.Text(570),
                        CUIMessageBox::kStyleTwoButtons);

    WhileModal([] {
        MWindow* about = MWindow::FindWindowByTitle(AboutDlg::kWindowTitle);
        ASSERT_NE(about, nullptr);
        Keep(RenderToImage(*about), {500, 300}, "about.png");
        about->PostMessage(WM_CLOSE, 2, 0);
    });
    AboutDlg::Show(nullptr, texts, [] { return 0x105u; });
}

}  // namespace
}  // namespace cursorial
