#include "common/dui/DPIControl.h"

#include "common/dui/Look.h"
#include "common/dui/Manager.h"
#include "common/text/WideText.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QRegularExpressionValidator>

#include <algorithm>

namespace DUI {

DPIControl::DPIControl() : edit_(new QLineEdit(this)) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    SetFont(18, true);
    edit_->hide();
    edit_->setFrame(false);
    edit_->setAlignment(Qt::AlignCenter);
    edit_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,6}")), edit_));
    edit_->installEventFilter(this);
    QObject::connect(edit_, &QLineEdit::returnPressed, this, [this] { EndEdit(true); });
}

void DPIControl::SetDPIValue(int stage, int dpi) {
    if (Valid(stage)) {
        dpi_[stage] = dpi;
        update();
    }
}

int DPIControl::GetDPIValue(int stage) const {
    return Valid(stage) ? dpi_[stage] : 0;
}

void DPIControl::SetDPIColorValue(int stage, COLORREF colour) {
    if (Valid(stage)) {
        colour_[stage] = colour & 0xFFFFFF;
        update();
    }
}

COLORREF DPIControl::GetDPIColorValue(int stage) const {
    return Valid(stage) ? colour_[stage] : 0;
}

void DPIControl::DeleteAllItems() {
    EndEdit(false);
    count_ = 0;
    selected_ = -1;
    hover_ = {};
    update();
}

int DPIControl::AddItem(int dpi, COLORREF colour) {
    if (count_ >= kMaxStages) {
        return -1;
    }
    dpi_[count_] = dpi;
    colour_[count_] = colour & 0xFFFFFF;
    ++count_;
    update();
    return count_ - 1;
}

void DPIControl::SetSelectItem(int stage) {
    selected_ = stage >= 0 && stage < count_ ? stage : -1;
    update();
}

QRect DPIControl::GetCellRect(int stage) const {
    if (stage < 0 || stage >= count_) {
        return {};
    }
    const int gap = 8;
    const int cell = std::min((width() - gap * (count_ - 1)) / count_, 150);
    const int total = cell * count_ + gap * (count_ - 1);
    const int left = (width() - total) / 2;
    return QRect(left + stage * (cell + gap), 0, cell, height());
}

QRect DPIControl::GetColorRect(int stage) const {
    const QRect cell = GetCellRect(stage);
    if (cell.isEmpty()) {
        return {};
    }
    const int bar = std::max(8, cell.height() / 6);
    return QRect(cell.left() + 10, cell.bottom() - bar - 8, cell.width() - 20, bar);
}

DPIControl::Hit DPIControl::HitTest(QPoint pos) const {
    for (int i = 0; i < count_; ++i) {
        // The colour bar is small: its target reaches a few pixels around it.
        if (GetColorRect(i).adjusted(-2, -4, 2, 4).contains(pos)) {
            return {i, Part::Color};
        }
        if (GetCellRect(i).contains(pos)) {
            return {i, Part::Cell};
        }
    }
    return {};
}

void DPIControl::OnClick(QPoint pos) {
    const Hit hit = HitTest(pos);
    if (hit.part == Part::Color) {
        Notify(kNotifySecondary, WPARAM(hit.stage), 0);
    } else if (hit.part == Part::Cell) {
        SetSelectItem(hit.stage);
        Notify(kNotifyClick, WPARAM(hit.stage), 0);
    }
}

void DPIControl::mouseDoubleClickEvent(QMouseEvent* e) {
    const Hit hit = HitTest(e->position().toPoint());
    e->accept();
    if (e->button() == Qt::LeftButton && hit.part == Part::Cell) {
        EditItem(hit.stage);
    } else {
        MControlFont::mouseDoubleClickEvent(e);
    }
}

void DPIControl::mouseMoveEvent(QMouseEvent* e) {
    const Hit hit = HitTest(e->position().toPoint());
    if (hit.stage != hover_.stage || hit.part != hover_.part) {
        hover_ = hit;
        setCursor(hit.part == Part::Color ? Qt::PointingHandCursor : Qt::ArrowCursor);
        update();
    }
    MControlFont::mouseMoveEvent(e);
}

void DPIControl::leaveEvent(QEvent* e) {
    hover_ = {};
    MControlFont::leaveEvent(e);
}

void DPIControl::keyPressEvent(QKeyEvent* e) {
    const int key = e->key();
    if ((key == Qt::Key_Left || key == Qt::Key_Right) && count_ > 0) {
        e->accept();
        const int next = std::clamp(selected_ + (key == Qt::Key_Left ? -1 : 1), 0, count_ - 1);
        if (next != selected_) {
            SetSelectItem(next);
            Notify(kNotifyFocus, WPARAM(next), 0);
        }
        return;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F2) && selected_ >= 0) {
        e->accept();
        EditItem(selected_);
        return;
    }
    MControlFont::keyPressEvent(e);
}

void DPIControl::EditItem(int stage) {
    if (stage < 0 || stage >= count_) {
        return;
    }
    if (stage != selected_) {
        QPointer<DPIControl> self(this);
        SetSelectItem(stage);
        Notify(kNotifyFocus, WPARAM(stage), 0);
        if (!self) {
            return;
        }
    }
    editing_ = stage;
    const QRect cell = GetCellRect(stage);
    const int h = QFontMetrics(Font()).height() + 6;
    edit_->setGeometry(cell.left() + 8, cell.center().y() - h / 2, cell.width() - 16, h);
    StyleInPlaceEditor(*edit_, Font());
    edit_->setText(QString::number(dpi_[stage]));
    edit_->show();
    edit_->setFocus(Qt::OtherFocusReason);
    edit_->selectAll();
    update();
}

bool DPIControl::IsEditing() const {
    return editing_ >= 0;
}

void DPIControl::SetEditText(std::u16string_view text) {
    editText_ = text;
    if (IsEditing()) {
        edit_->setText(QString::fromUtf16(text.data(), qsizetype(text.size())));
    }
}

void DPIControl::EndEdit(bool commit) {
    if (editing_ < 0) {
        return;
    }
    const int stage = editing_;
    editing_ = -1;
    editText_ = edit_->text().toStdU16String();
    edit_->hide();
    update();
    if (commit) {
        Notify(kNotifyEditFinished, WPARAM(stage), LPARAM(cursorial::TextToInt(editText_)));
    }
}

bool DPIControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_) {
        if (event->type() == QEvent::FocusOut) {
            EndEdit(true);
        } else if (event->type() == QEvent::KeyPress &&
                   static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            EndEdit(false);
            setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    return MControlFont::eventFilter(watched, event);
}

void DPIControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool enabled = isEnabled();
    for (int i = 0; i < count_; ++i) {
        const QRectF cell = GetCellRect(i);
        const bool selected = i == selected_;
        const bool hover = hover_.stage == i;
        const int state = !enabled ? 3 : (selected ? 2 : (hover ? 1 : 0));
        if (DrawSkin(p, cell, state)) {
            DrawStateOverlay(p, cell, state, GetImageFrames(), 8);
        } else {
            DrawPanel(p, cell, ToQColor(selected ? kColorPanelLight : kColorPanel),
                      selected ? SelectColor()
                               : (hover ? ToQColor(kColorTextSecondary) : ToQColor(kColorBorder)),
                      8);
        }
        const QColor number = selected && enabled ? SelectColor() : ToQColor(kColorTextSecondary);
        const std::u16string label = cursorial::IntToText(i + 1);
        QFont small = Manager::MakeFont(GetFontName(), std::max(10, GetFontSize() - 5), false);
        p.setFont(small);
        p.setPen(number);
        p.drawText(cell.adjusted(0, 6, 0, 0), Qt::AlignHCenter | Qt::AlignTop,
                   QString::fromStdU16String(label));
        if (i != editing_) {
            const std::u16string value = cursorial::IntToText(dpi_[i]);
            const QColor colour = enabled ? ToQColor(kColorText) : ToQColor(kColorTextDisabled);
            DrawText(p, cell, &value, &colour, kAlignCenter);
        }
        QColor bar = FromColorRef(colour_[i]);
        if (!enabled) {
            bar = bar.darker(250);
        }
        const QRectF colourRect = GetColorRect(i);
        DrawPanel(p, colourRect, bar,
                  hover_.stage == i && hover_.part == Part::Color ? ToQColor(kColorText) : QColor(),
                  colourRect.height() / 2);
    }
    if (hasFocus() && selected_ >= 0 && !IsEditing()) {
        DrawFocusRing(p, GetCellRect(selected_), 8);
    }
}

}  // namespace DUI
