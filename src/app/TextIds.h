// Ids of the user-interface texts. The program carries no interface texts of its own: every
// visible text is looked up by id in language/<lcid>.lan. kUsedTextIds lists every id the program
// asks for, so that each shipped language file can be held against it; what each id shows is
// written beside it in the language files (docs/language-files.md describes the format).
#pragma once

#include <algorithm>
#include <array>

namespace cursorial {

// First id that belongs to the model description files rather than to the program: button names
// and the descriptions of the buttons' default functions. A new description file may add ids from
// here on; the language files must then carry them too.
inline constexpr int kFirstDescriptionTextId = 700;

inline constexpr std::array kUsedTextIds{
    // Program, frame, common buttons, connection state, page tabs.
    1, 2, 3, 5, 6, 7, 11, 12, 15, 16, 17, 20, 22, 23, 25, 26, 27, 28, 29, 30, 31, 32, 36, 38, 39,
    50, 51, 52, 56, 57, 61, 71, 72, 73, 74, 75, 76, 85, 86,
    // Button page and the button-function catalogue.
    100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 112, 113, 114, 115, 116, 117, 118, 119,
    120, 121, 122, 123, 124, 125, 126, 127, 128, 129, 130, 131, 132, 133, 134, 139, 140, 142, 150,
    151, 152, 153, 154, 155, 160, 161, 162, 170, 171, 175, 176, 177, 180, 181, 182, 183, 185, 186,
    187,
    // Performance page (DPI, report rate).
    250, 251, 252, 253, 254, 255, 256, 257, 258, 260,
    // Lighting page and effect names.
    265, 266, 267, 268, 269, 270, 271, 272, 275, 276, 278, 279, 280, 281, 282, 283, 284, 285,
    // Macro page and recorder.
    350, 351, 352, 353, 355, 357, 358, 359, 360, 361, 362, 363, 364, 365, 366, 367, 368, 385, 386,
    387, 388, 389, 390, 391, 392, 393, 394, 395, 397, 398, 400, 401, 402, 403, 404, 410, 411, 415,
    416, 417,
    // Performance page (lift-off, sensor, response time, power).
    501, 502, 503, 505, 506, 507, 508, 509, 511, 512, 515, 516, 517, 525, 531, 532, 533, 534, 535,
    536, 537,
    // Device page, factory reset, updates and firmware upgrade.
    551, 552, 558, 570, 571, 576, 578, 580, 581, 582, 583, 590, 591, 592, 593, 596,
    // Application settings panel and the saving notice.
    600, 603, 604, 605, 607, 608, 609, 611, 612, 615, 616, 630,
    // Device access and what the mouse could not take.
    640, 641,
    // Named by the shipped description files: button names, then default-function descriptions.
    700, 701, 702, 703, 704, 705, 706, 707, 708, 709};

static_assert(std::is_sorted(kUsedTextIds.begin(), kUsedTextIds.end()) &&
                  std::adjacent_find(kUsedTextIds.begin(), kUsedTextIds.end()) ==
                      kUsedTextIds.end(),
              "kUsedTextIds must be sorted and free of duplicates");

constexpr bool IsUsedTextId(int id) {
    return std::binary_search(kUsedTextIds.begin(), kUsedTextIds.end(), id);
}

// An id that code names must be one of kUsedTextIds, or the language files need not carry it.
// Used in constant initialisers, an unlisted id stops the build.
consteval int UsedTextId(int id) {
    if (!IsUsedTextId(id))
        throw "text id missing from kUsedTextIds";
    return id;
}

// Ids that code refers to in more than one place.
namespace text_id {

// Frame tooltips and the tray menu.
inline constexpr int kClose = UsedTextId(5);
inline constexpr int kMinimize = UsedTextId(6);
inline constexpr int kMaximize = UsedTextId(7);
inline constexpr int kSettings = UsedTextId(11);
inline constexpr int kExit = UsedTextId(12);
inline constexpr int kPreviousDevice = UsedTextId(85);
inline constexpr int kNextDevice = UsedTextId(86);

// Versions: device-list caption, About firmware line, software version label ("%s: v%s").
inline constexpr int kDeviceListVersion = UsedTextId(15);
inline constexpr int kAboutFirmware = UsedTextId(16);
inline constexpr int kSoftwareVersion = UsedTextId(17);
inline constexpr int kAboutFooter = UsedTextId(2);

// Message box buttons: style 0 has kMessageOk, style 4 kMessageConfirm and kMessageCancel.
inline constexpr int kMessageOk = UsedTextId(20);
inline constexpr int kDialogOk = UsedTextId(22);
inline constexpr int kMessageConfirm = UsedTextId(23);
inline constexpr int kMessageCancel = UsedTextId(25);
inline constexpr int kImport = UsedTextId(26);
inline constexpr int kExport = UsedTextId(27);

// Connection text of the device state header.
inline constexpr int kNotConnected = UsedTextId(50);
inline constexpr int kConnectedByCable = UsedTextId(51);
inline constexpr int kConnectedByReceiver = UsedTextId(52);
inline constexpr int kHomeHint = UsedTextId(56);
inline constexpr int kMouseNotConnected = UsedTextId(57);
inline constexpr int kNoticeTitle = UsedTextId(576);

// Words that stored names are re-localised by: a stored profile name starting with "Profile" or
// "配置", a macro name starting with the default-macro word or ending in the copy word.
inline constexpr int kProfileWord = UsedTextId(61);
inline constexpr int kCustomMacroWord = UsedTextId(351);
inline constexpr int kCopyWord = UsedTextId(31);

// Page tab captions: home, buttons, performance, macros, lighting, device.
inline constexpr int kFirstTabCaption = UsedTextId(71);
inline constexpr int kLastTabCaption = UsedTextId(76);

// Lighting effect names, by the order of the description elements light_1 .. light_6.
inline constexpr std::array kLightEffectNames{UsedTextId(280), UsedTextId(281), UsedTextId(282),
                                              UsedTextId(283), UsedTextId(284), UsedTextId(285)};

// Versions and update states.
inline constexpr int kFirmwareVersion = UsedTextId(551);
inline constexpr int kReceiverVersion = UsedTextId(552);
inline constexpr int kUpToDate = UsedTextId(580);
inline constexpr int kSoftwareUpdateTitle = UsedTextId(581);
inline constexpr int kNewVersion = UsedTextId(582);
inline constexpr int kUpdateNowQuestion = UsedTextId(583);
inline constexpr int kDownloading = UsedTextId(590);
inline constexpr int kPreparingUpgrade = UsedTextId(591);
inline constexpr int kUpgrading = UsedTextId(592);
inline constexpr int kUpgradeFinished = UsedTextId(593);
inline constexpr int kUpgradeWarning = UsedTextId(596);

inline constexpr int kSavingNotice = UsedTextId(630);

inline constexpr int kFactoryResetTitle = UsedTextId(570);
inline constexpr int kFactoryResetQuestion = UsedTextId(571);

// The home page when a supported mouse is present but this user may not open it.
inline constexpr int kNoDeviceAccess = UsedTextId(640);
// A macro too long for the mouse's memory (its button keeps its default).
inline constexpr int kMacroTooLong = UsedTextId(641);

}  // namespace text_id

}  // namespace cursorial
