#include "common/dui/CDeviceList.h"

#include "common/dui/Look.h"
#include "common/dui/Manager.h"
#include "common/dui/SkinImage.h"
#include "common/text/WideText.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

namespace DUI {

namespace {

constexpr int kCardGap = 24;
constexpr int kLowBattery = 20;

QString ToQ(std::u16string_view s) {
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

}  // namespace

std::u16string FormatReleaseVersion(int release) {
    const std::u16string hex = cursorial::FromUtf8(cursorial::Format("%X", unsigned(release)));
    const std::u16string major = hex.substr(0, 1);
    const std::u16string minor = hex.size() >= 2 ? hex.substr(hex.size() - 2) : hex;
    return major + u"." + minor;
}

void DrawBattery(QPainter& p, const QRectF& rect, int level, bool charging,
                 std::u16string_view bkgImage, std::u16string_view valueImage,
                 std::u16string_view chargeImage) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    level = std::clamp(level, 0, 100);
    // The body is twice as wide as it is high, centred in the rectangle.
    QSizeF size(rect.height() * 2, rect.height());
    if (size.width() > rect.width()) {
        size.scale(rect.width(), rect.width() / 2, Qt::KeepAspectRatio);
    }
    const QRectF body(rect.center().x() - size.width() / 2, rect.center().y() - size.height() / 2,
                      size.width() - size.height() / 8, size.height());
    const QRectF inner = body.adjusted(2.5, 2.5, -2.5, -2.5);
    const QRectF fill(inner.left(), inner.top(), inner.width() * level / 100.0, inner.height());
    auto bkg = Manager::GetImage(bkgImage);
    if (!bkg->IsNull()) {
        bkg->Draw(
            p,
            QRectF(rect.center().x() - size.width() / 2, body.top(), size.width(), size.height()),
            0, 1, kDrawStretch);
    } else {
        p.setPen(QPen(ToQColor(kColorTextSecondary), 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(body.adjusted(0.5, 0.5, -0.5, -0.5), 2.5, 2.5);
        p.setPen(Qt::NoPen);
        p.setBrush(ToQColor(kColorTextSecondary));
        p.drawRoundedRect(QRectF(body.right() + 0.5, body.center().y() - body.height() / 5,
                                 size.height() / 8, body.height() * 2 / 5),
                          1, 1);
    }
    if (fill.width() > 0) {
        const bool warn = charging || level <= kLowBattery;
        const QColor colour = charging ? SelectColor()
                              : warn   ? QColor(0xE0, 0x48, 0x48)
                                       : ToQColor(kColorText);
        auto value = Manager::GetImage(valueImage);
        if (value->IsNull()) {
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            p.drawRoundedRect(fill, 1.5, 1.5);
        } else if (!warn) {
            value->Draw(p, fill, 0, 1, kDrawStretch);
        } else {
            // The skin's bar gives the shape; a low or charging battery shows in its colour.
            const qreal ratio = p.device() ? p.device()->devicePixelRatioF() : 1.0;
            QImage bar((fill.size() * ratio).toSize().expandedTo(QSize(1, 1)),
                       QImage::Format_ARGB32_Premultiplied);
            bar.setDevicePixelRatio(ratio);
            bar.fill(Qt::transparent);
            QPainter tint(&bar);
            value->Draw(tint, QRectF(QPointF(), fill.size()), 0, 1, kDrawStretch);
            tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
            tint.fillRect(QRectF(QPointF(), fill.size()), colour);
            tint.end();
            p.drawImage(fill, bar);
        }
    }
    if (charging) {
        auto bolt = Manager::GetImage(chargeImage);
        const QRectF boltRect(body.center().x() - body.height() * 0.35, body.top() + 1,
                              body.height() * 0.7, body.height() - 2);
        if (!bolt->IsNull()) {
            bolt->Draw(p, boltRect, 0, 1, kDrawCenter);
        } else {
            const QPointF c = boltRect.center();
            const qreal h = boltRect.height() / 2;
            QPolygonF shape({c + QPointF(h * 0.15, -h), c + QPointF(-h * 0.45, h * 0.15),
                             c + QPointF(-h * 0.02, h * 0.15), c + QPointF(-h * 0.15, h),
                             c + QPointF(h * 0.45, -h * 0.15), c + QPointF(h * 0.02, -h * 0.15)});
            p.setPen(QPen(ToQColor(kColorBackground), 1));
            p.setBrush(ToQColor(kColorText));
            p.drawPolygon(shape);
        }
    }
    p.restore();
}

// --- CDeviceList -----------------------------------------------------------------------------

CDeviceList::CDeviceList() {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    SetFont(16, true);
    SetImageMode(kDrawBorders, 12);
}

CDeviceList::Device* CDeviceList::Find(int deviceType) {
    for (Device& d : devices_) {
        if (d.type == deviceType) {
            return &d;
        }
    }
    return nullptr;
}

const CDeviceList::Device* CDeviceList::Find(int deviceType) const {
    return const_cast<CDeviceList*>(this)->Find(deviceType);
}

void CDeviceList::ClearList() {
    devices_.clear();
    selectIndex_ = -1;
    hoverType_ = 0;
    firstCard_ = 0;
    update();
}

int CDeviceList::AddDevice(std::u16string_view name, int deviceType, std::u16string_view picture) {
    Device d;
    d.name = name;
    d.type = deviceType;
    d.picture = picture;
    devices_.push_back(std::move(d));
    update();
    return int(devices_.size()) - 1;
}

void CDeviceList::SetAllDeviceState(int state) {
    for (Device& d : devices_) {
        d.state[0] = d.state[1] = state;
    }
    update();
}

void CDeviceList::SetDeviceState(int deviceType, int kind, int state) {
    if (Device* d = Find(deviceType); d && (kind == 0 || kind == 1)) {
        d->state[kind] = state;
        firstCard_ = std::clamp(firstCard_, 0, std::max(0, GetOnlineDevCount() - 1));
        update();
    }
}

int CDeviceList::GetDeviceState(int deviceType, int kind) const {
    const Device* d = Find(deviceType);
    return d && (kind == 0 || kind == 1) ? d->state[kind] : 0;
}

bool CDeviceList::IsDeviceOnline(int deviceType) const {
    const Device* d = Find(deviceType);
    return d && (d->state[0] != 0 || d->state[1] != 0);
}

std::vector<int> CDeviceList::GetShownDevices() const {
    std::vector<int> shown;
    for (const Device& d : devices_) {
        if (d.state[0] != 0 || d.state[1] != 0) {
            shown.push_back(d.type);
        }
    }
    return shown;
}

int CDeviceList::GetOnlineDevCount() const {
    return int(GetShownDevices().size());
}

void CDeviceList::SetDeviceVersion(int deviceType, int release) {
    if (Device* d = Find(deviceType)) {
        d->release = release;
        update();
    }
}

void CDeviceList::SetVersionDesc(std::u16string_view text) {
    versionDesc_ = text;
    update();
}

void CDeviceList::SetDeviceBattery(int deviceType, int charge, int level) {
    if (Device* d = Find(deviceType)) {
        d->charge = charge;
        d->level = std::clamp(level, 0, 100);
        update();
    }
}

void CDeviceList::SetSelectDevice(int deviceType) {
    const std::vector<int> shown = GetShownDevices();
    if (std::find(shown.begin(), shown.end(), deviceType) != shown.end()) {
        selectedType_ = deviceType;
    } else if (!shown.empty()) {
        selectedType_ = shown.front();
    } else {
        selectedType_ = deviceType;
    }
    update();
}

void CDeviceList::SetSelectIndex(int index) {
    selectIndex_ = index >= 0 && index < GetOnlineDevCount() ? index : -1;
    update();
}

void CDeviceList::SetModeImage(std::u16string_view name) {
    modeImage_ = name;
    update();
}

void CDeviceList::SetBatteryImages(std::u16string_view background, std::u16string_view charge,
                                   std::u16string_view value) {
    batteryBkg_ = background;
    batteryCharge_ = charge;
    batteryValue_ = value;
    update();
}

QSize CDeviceList::CardSize() const {
    const int h = std::max(60, std::min(height() - 16, 320));
    return {std::min(width() - 16, h * 4 / 5), h};
}

int CDeviceList::VisibleCards() const {
    const QSize card = CardSize();
    return std::max(1, (width() + kCardGap) / (card.width() + kCardGap));
}

QRect CDeviceList::GetCardRect(int shownIndex) const {
    const int count = GetOnlineDevCount();
    const int visible = std::min(count - firstCard_, VisibleCards());
    if (shownIndex < firstCard_ || shownIndex >= firstCard_ + visible) {
        return {};
    }
    const QSize card = CardSize();
    const int total = visible * card.width() + (visible - 1) * kCardGap;
    const int left = (width() - total) / 2;
    const int top = (height() - card.height()) / 2;
    return QRect(left + (shownIndex - firstCard_) * (card.width() + kCardGap), top, card.width(),
                 card.height());
}

int CDeviceList::HitTest(QPoint pos) const {
    const std::vector<int> shown = GetShownDevices();
    for (int i = 0; i < int(shown.size()); ++i) {
        if (GetCardRect(i).contains(pos)) {
            return shown[i];
        }
    }
    return 0;
}

void CDeviceList::Choose(int deviceType) {
    const std::vector<int> shown = GetShownDevices();
    const auto it = std::find(shown.begin(), shown.end(), deviceType);
    if (it == shown.end()) {
        return;
    }
    selectedType_ = deviceType;
    selectIndex_ = int(it - shown.begin());
    update();
    Notify(kNotifyClick, WPARAM(deviceType), 0);
}

void CDeviceList::OnClick(QPoint pos) {
    if (const int type = HitTest(pos)) {
        Choose(type);
    }
}

void CDeviceList::mouseMoveEvent(QMouseEvent* e) {
    const int hit = HitTest(e->position().toPoint());
    if (hit != hoverType_) {
        hoverType_ = hit;
        setCursor(hit ? Qt::PointingHandCursor : Qt::ArrowCursor);
        update();
    }
    MControlFont::mouseMoveEvent(e);
}

void CDeviceList::leaveEvent(QEvent* e) {
    hoverType_ = 0;
    MControlFont::leaveEvent(e);
}

void CDeviceList::keyPressEvent(QKeyEvent* e) {
    const std::vector<int> shown = GetShownDevices();
    const int count = int(shown.size());
    if (count == 0) {
        MControlFont::keyPressEvent(e);
        return;
    }
    switch (e->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right: {
            const int next =
                std::clamp(selectIndex_ + (e->key() == Qt::Key_Left ? -1 : 1), 0, count - 1);
            selectIndex_ = next;
            if (next < firstCard_) {
                firstCard_ = next;
            } else if (next >= firstCard_ + VisibleCards()) {
                firstCard_ = next - VisibleCards() + 1;
            }
            update();
            e->accept();
            return;
        }
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (selectIndex_ >= 0 && selectIndex_ < count) {
                e->accept();
                Choose(shown[selectIndex_]);
                return;
            }
            break;
        default:
            break;
    }
    MControlFont::keyPressEvent(e);
}

void CDeviceList::wheelEvent(QWheelEvent* e) {
    const int count = GetOnlineDevCount();
    if (count <= VisibleCards() || e->angleDelta().y() == 0) {
        e->ignore();
        return;
    }
    firstCard_ =
        std::clamp(firstCard_ - wheel_.Add(e->angleDelta().y()), 0, count - VisibleCards());
    update();
    e->accept();
}

void CDeviceList::PaintCard(QPainter& p, const QRectF& r, const Device& d, bool selected,
                            bool hover) {
    const int state = !isEnabled() ? 3 : (selected ? 2 : (hover ? 1 : 0));
    if (DrawSkin(p, r, state)) {
        DrawStateOverlay(p, r, state, GetImageFrames(), 12);
    } else {
        DrawPanel(p, r, ToQColor(hover || selected ? kColorPanelLight : kColorPanel),
                  selected ? SelectColor()
                           : (hover ? ToQColor(kColorTextSecondary) : ToQColor(kColorBorder)),
                  12);
    }
    const qreal pad = 14;
    const qreal line = GetFontSize() + 8;
    const QRectF pictureRect(r.left() + pad, r.top() + pad, r.width() - 2 * pad,
                             r.height() - 2 * pad - line * 2.6);
    auto picture = Manager::GetImage(d.picture);
    if (!picture->IsNull()) {
        picture->Draw(p, pictureRect, 0, 1, kDrawCenter);
    } else {
        DrawPicturePlaceholder(p, pictureRect, u"device/");
    }
    const QRectF nameRect(r.left() + pad, pictureRect.bottom() + 4, r.width() - 2 * pad, line);
    DrawText(p, nameRect, &d.name, nullptr, kAlignCenter | kAlignElide);

    // Connection marks and battery on one line, the version below them.
    QRectF infoRect(r.left() + pad, nameRect.bottom(), r.width() - 2 * pad, line * 0.8);
    qreal x = infoRect.left();
    auto mode = Manager::GetImage(modeImage_);
    const QFont small = Manager::MakeFont(GetFontName(), std::max(10, GetFontSize() - 4), false);
    for (int kind = 0; kind < 2; ++kind) {
        if (!d.state[kind]) {
            continue;
        }
        if (!mode->IsNull()) {
            const QSize natural = mode->FrameSize(2);
            QSizeF size(natural);
            size.scale(size.width(), infoRect.height(), Qt::KeepAspectRatio);
            mode->Draw(
                p,
                QRectF(x, infoRect.center().y() - size.height() / 2, size.width(), size.height()),
                kind, 2, kDrawStretch);
            x += size.width() + 6;
        } else {
            const QString label = kind == 0 ? QStringLiteral("USB") : QStringLiteral("2.4G");
            p.setFont(small);
            const qreal w = QFontMetricsF(small).horizontalAdvance(label) + 10;
            const QRectF chip(x, infoRect.top() + 2, w, infoRect.height() - 4);
            DrawPanel(p, chip, QColor(), SelectColor(), chip.height() / 2);
            p.setPen(SelectColor());
            p.drawText(chip, Qt::AlignCenter, label);
            x += w + 6;
        }
    }
    if (d.level > 0) {
        const QRectF batteryRect(infoRect.right() - infoRect.height() * 2 - 40, infoRect.top() + 3,
                                 infoRect.height() * 2, infoRect.height() - 6);
        DrawBattery(p, batteryRect, d.level, d.charge != 0, batteryBkg_, batteryValue_,
                    batteryCharge_);
        p.setFont(small);
        p.setPen(ToQColor(kColorTextSecondary));
        p.drawText(QRectF(batteryRect.right() + 4, infoRect.top(), 40, infoRect.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, QString::number(d.level) + QLatin1Char('%'));
    }
    if (d.release > 0) {
        const std::u16string text =
            (versionDesc_.empty() ? std::u16string() : versionDesc_ + u" ") + u"V" +
            FormatReleaseVersion(d.release);
        p.setFont(small);
        p.setPen(ToQColor(kColorTextSecondary));
        p.drawText(QRectF(infoRect.left(), infoRect.bottom(), infoRect.width(), line * 0.8),
                   Qt::AlignCenter, ToQ(text));
    }
}

void CDeviceList::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const std::vector<int> shown = GetShownDevices();
    for (int i = 0; i < int(shown.size()); ++i) {
        const QRect card = GetCardRect(i);
        if (card.isEmpty()) {
            continue;
        }
        const Device* d = Find(shown[i]);
        PaintCard(p, card, *d, d->type == selectedType_,
                  d->type == hoverType_ || i == selectIndex_);
        if (hasFocus() && i == selectIndex_) {
            DrawFocusRing(p, card, 12);
        }
    }
    // Marks telling that more cards lie to either side.
    const QColor dim = ToQColor(kColorTextSecondary);
    if (firstCard_ > 0) {
        DrawGlyph(p, QRectF(0, height() / 2.0 - 12, 24, 24), Glyph::ArrowLeft, dim);
    }
    if (firstCard_ + VisibleCards() < int(shown.size())) {
        DrawGlyph(p, QRectF(width() - 24, height() / 2.0 - 12, 24, 24), Glyph::ArrowRight, dim);
    }
}

// --- CDeviceState ----------------------------------------------------------------------------

CDeviceState::CDeviceState() {
    SetAlign(kAlignLeft);
    SetImageMode(kDrawBorders, 20);
}

void CDeviceState::SetConnection(int kind) {
    kind_ = kind;
    update();
}

void CDeviceState::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();
    if (!DrawSkin(p, r, 0) && !GetImage().empty()) {
        DrawPanel(p, r, ToQColor(kColorPanel), ToQColor(kColorBorder), r.height() / 2);
    }
    const qreal dot = std::min<qreal>(8, r.height() / 3);
    const QPointF centre(r.left() + r.height() / 2, r.center().y());
    p.setPen(Qt::NoPen);
    p.setBrush(kind_ >= 0 ? SelectColor() : ToQColor(kColorTextDisabled));
    p.drawEllipse(centre, dot / 2, dot / 2);
    DrawText(p, r.adjusted(r.height(), 0, -8, 0), nullptr, nullptr, GetAlign() | kAlignElide);
}

// --- BatteryCtrl -----------------------------------------------------------------------------

BatteryCtrl::BatteryCtrl() {
    SetFont(12);
}

void BatteryCtrl::SetBatteryImages(std::u16string_view background, std::u16string_view charge,
                                   std::u16string_view value) {
    bkg_ = background;
    chargeImage_ = charge;
    value_ = value;
    update();
}

void BatteryCtrl::SetBatteryInfo(int level, int charge) {
    level_ = std::clamp(level, 0, 100);
    charge_ = charge;
    phase_ = 0;
    if (charge_ != 0) {
        Manager::AddMTimer(this);
    } else {
        Manager::RemoveMTimer(this);
    }
    update();
}

void BatteryCtrl::SetShowText(bool show) {
    showText_ = show;
    update();
}

int BatteryCtrl::ShownLevel() const {
    if (charge_ == 0 || level_ >= 100) {
        return level_;
    }
    // 150 ticks a cycle: rise from the level to full in 120, hold full for 30.
    const int rise = std::min(phase_, 120);
    return level_ + (100 - level_) * rise / 120;
}

bool BatteryCtrl::OnMTimer() {
    if (charge_ == 0) {
        return false;
    }
    if (!isVisible()) {
        return false;  // showEvent puts it back on the tick
    }
    phase_ = (phase_ + 1) % 150;
    update();
    return true;
}

void BatteryCtrl::showEvent(QShowEvent* e) {
    MControlFont::showEvent(e);
    if (charge_ != 0) {
        Manager::AddMTimer(this);
    }
}

void BatteryCtrl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QRectF r = rect();
    const QString text = QString::number(level_) + QLatin1Char('%');
    qreal textWidth = 0;
    if (showText_) {
        textWidth = QFontMetricsF(Font()).horizontalAdvance(text) + 6;
        if (textWidth > r.width() / 2) {
            textWidth = 0;
        }
    }
    const QRectF batteryRect(r.left(), r.top(), r.width() - textWidth, r.height());
    const qreal h = std::min(batteryRect.height(), batteryRect.width() / 2);
    DrawBattery(p, QRectF(batteryRect.left(), batteryRect.center().y() - h / 2, h * 2, h),
                ShownLevel(), charge_ != 0, bkg_, value_, chargeImage_);
    if (textWidth > 0) {
        const std::u16string t = text.toStdU16String();
        const QColor dim = ToQColor(kColorTextSecondary);
        DrawText(p, QRectF(batteryRect.left() + h * 2 + 4, r.top(), textWidth, r.height()), &t,
                 &dim, kAlignLeft);
    }
}

}  // namespace DUI
