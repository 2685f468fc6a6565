// The devices of the catalogue as cards: picture, name, connection, battery and firmware
// version. Only devices with at least one online connection are shown, in the order they were
// added. A click on a card selects its device and reports 2 with the device type as value1;
// Left/Right move the selection index and Enter/Space choose it.
//
// Selection rule of SetSelectDevice(type): a shown device of that type is selected; otherwise
// the first shown device is; with no device shown the requested type is kept, so
// GetSelectDevice answers it.
#pragma once

#include "common/dui/MControl.h"
#include "common/dui/WheelNotches.h"

#include <vector>

namespace DUI {

// "%X" of a release number shown as major.minor: its first character and its last two
// (0x105 -> "1.05", 0x5 -> "5.5").
std::u16string FormatReleaseVersion(int release);

class CDeviceList : public MControlFont {
public:
    static constexpr const char* kClassName = "CDeviceList";
    CDeviceList();

    void ClearList();
    // Adds a device (its picture is a skin file name); answers its index.
    int AddDevice(std::u16string_view name, int deviceType, std::u16string_view picture);
    int GetDeviceCount() const { return int(devices_.size()); }

    // Online state (0 absent, non-zero online) of every connection of every device.
    void SetAllDeviceState(int state);
    // Online state of one connection kind (0 cable, 1 receiver) of a device type.
    void SetDeviceState(int deviceType, int kind, int state);
    int GetDeviceState(int deviceType, int kind) const;
    bool IsDeviceOnline(int deviceType) const;
    // Number of devices shown (online).
    int GetOnlineDevCount() const;
    // Firmware release number of a device (0 shows none).
    void SetDeviceVersion(int deviceType, int release);
    // Caption written before the version ("Firmware").
    void SetVersionDesc(std::u16string_view text);
    // Battery of a device: charge state (non-zero charging) and level in percent (0 = unknown).
    void SetDeviceBattery(int deviceType, int charge, int level);

    void SetSelectDevice(int deviceType);
    int GetSelectDevice() const { return selectedType_; }
    // Index of the highlighted card among the shown ones (-1 none).
    void SetSelectIndex(int index);
    int GetSelectIndex() const { return selectIndex_; }

    // Image of the connection marks: two frames, cable then receiver.
    void SetModeImage(std::u16string_view name);
    void SetBatteryImages(std::u16string_view background, std::u16string_view charge,
                          std::u16string_view value);

    // Device types of the shown cards, in order; the card rectangle of a shown index; the device
    // type under a point (0 when none).
    std::vector<int> GetShownDevices() const;
    QRect GetCardRect(int shownIndex) const;
    int HitTest(QPoint pos) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void OnClick(QPoint pos) override;

private:
    struct Device {
        std::u16string name;
        int type = 0;
        std::u16string picture;
        int state[2] = {0, 0};
        int release = 0;
        int charge = 0;
        int level = 0;
    };
    Device* Find(int deviceType);
    const Device* Find(int deviceType) const;
    void Choose(int deviceType);
    QSize CardSize() const;
    int VisibleCards() const;
    void PaintCard(QPainter& painter, const QRectF& rect, const Device& device, bool selected,
                   bool hover);

    std::vector<Device> devices_;
    int selectedType_ = 0;
    int selectIndex_ = -1;
    int hoverType_ = 0;
    int firstCard_ = 0;
    WheelNotches wheel_;
    std::u16string versionDesc_;
    std::u16string modeImage_;
    std::u16string batteryBkg_;
    std::u16string batteryCharge_;
    std::u16string batteryValue_;
};

// The connection header: its image, a status dot and its text (the title).
class CDeviceState : public MControlFont {
public:
    static constexpr const char* kClassName = "CDeviceState";
    CDeviceState();

    // -1 no device, 0 cable, 1 receiver: the colour of the status dot.
    void SetConnection(int kind);
    int GetConnection() const { return kind_; }

protected:
    bool IsDragThrough() const override { return true; }
    void paintEvent(QPaintEvent* event) override;

private:
    int kind_ = -1;
};

// A battery: level in percent and charge state. While charging, the fill rises from the level
// to full over and over on the kit's animation tick.
class BatteryCtrl : public MControlFont {
public:
    static constexpr const char* kClassName = "BatteryCtrl";
    BatteryCtrl();

    void SetBatteryImages(std::u16string_view background, std::u16string_view charge,
                          std::u16string_view value);
    // Level 0..100 (clamped); a non-zero charge state animates.
    void SetBatteryInfo(int level, int charge);
    int GetLevel() const { return level_; }
    bool IsCharging() const { return charge_ != 0; }
    // The percentage beside the battery (default on).
    void SetShowText(bool show);
    // The fill shown now, in percent (animation included).
    int ShownLevel() const;

    bool OnMTimer() override;

protected:
    bool IsDragThrough() const override { return true; }
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    int level_ = 0;
    int charge_ = 0;
    int phase_ = 0;
    bool showText_ = true;
    std::u16string bkg_;
    std::u16string chargeImage_;
    std::u16string value_;
};

// Draws a battery outline filled to `level` percent (used by the list and the battery control).
// The fill is red at 20 % or below and in the highlight colour while charging, the skin's level
// bar too.
void DrawBattery(QPainter& painter, const QRectF& rect, int level, bool charging,
                 std::u16string_view bkgImage, std::u16string_view valueImage,
                 std::u16string_view chargeImage);

}  // namespace DUI
