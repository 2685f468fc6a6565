#include "common/dui/MEdit.h"

#include "common/dui/Look.h"
#include "common/dui/Manager.h"
#include "common/text/WideText.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QRegularExpressionValidator>
#include <QWheelEvent>

#include <algorithm>

namespace DUI {

MEdit::MEdit() : edit_(new QLineEdit(this)) {
    edit_->setFrame(false);
    edit_->setAttribute(Qt::WA_MacShowFocusRect, false);
    edit_->installEventFilter(this);
    edit_->setContextMenuPolicy(Qt::DefaultContextMenu);
    setFocusProxy(edit_);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::IBeamCursor);
    SetImageMode(kDrawBorders, 6);
    ApplyLook();
    QObject::connect(edit_, &QLineEdit::textEdited, this, [this](const QString& text) {
        syncing_ = true;
        SetTitle(text.toStdU16String());
        syncing_ = false;
        Notify(kNotifyEditChanged);
    });
    QObject::connect(edit_, &QLineEdit::returnPressed, this, [this] { FinishEditing(); });
}

void MEdit::ApplyLook() {
    QPalette pal = edit_->palette();
    pal.setColor(QPalette::Base, Qt::transparent);
    pal.setColor(QPalette::Window, Qt::transparent);
    pal.setColor(QPalette::Text, TextColor());
    pal.setColor(QPalette::Disabled, QPalette::Text, ToQColor(kColorTextDisabled));
    pal.setColor(QPalette::Highlight, SelectColor());
    pal.setColor(QPalette::HighlightedText, ToQColor(kColorBackground));
    pal.setColor(QPalette::PlaceholderText, ToQColor(kColorTextSecondary));
    edit_->setPalette(pal);
    edit_->setFont(Font());
    edit_->setAlignment(Qt::Alignment(ToQtAlign(GetAlign()) & ~Qt::TextWordWrap));
}

void MEdit::OnFontChanged() {
    ApplyLook();
    update();
}

void MEdit::OnTitleChanged() {
    if (!syncing_) {
        const QString text = QString::fromStdU16String(GetTitle());
        if (edit_->text() != text) {
            edit_->setText(text);
        }
        if (!edit_->hasFocus()) {
            baseline_ = GetTitle();
        }
    }
    update();
}

void MEdit::SetReadOnly(bool readOnly) {
    edit_->setReadOnly(readOnly);
    setCursor(readOnly ? Qt::ArrowCursor : Qt::IBeamCursor);
}

bool MEdit::IsReadOnly() const {
    return edit_->isReadOnly();
}

void MEdit::SetMaxLength(int length) {
    edit_->setMaxLength(std::max(1, length));
}

void MEdit::SetNumberOnly(bool numberOnly, bool negative) {
    numberOnly_ = numberOnly;
    if (!numberOnly) {
        edit_->setValidator(nullptr);
        return;
    }
    const QString pattern = negative ? QStringLiteral("-?[0-9]*") : QStringLiteral("[0-9]*");
    edit_->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit_));
}

void MEdit::SetPlaceholder(std::u16string_view text) {
    edit_->setPlaceholderText(QString::fromUtf16(text.data(), qsizetype(text.size())));
}

void MEdit::SelectAll() {
    edit_->selectAll();
}

int MEdit::GetNumber() const {
    return cursorial::TextToInt(GetTitle());
}

void MEdit::SetNumber(int value) {
    SetTitle(cursorial::IntToText(value));
}

bool MEdit::FinishEditing() {
    QPointer<MEdit> self(this);
    Notify(kNotifyEditFinished);
    if (!self) {
        return false;
    }
    // The handler may have corrected the text; the commit carries the corrected one.
    if (GetTitle() != baseline_) {
        baseline_ = GetTitle();
        Notify(kNotifyClick);
        if (!self) {
            return false;
        }
    }
    return true;
}

void MEdit::OnClick(QPoint) {
    edit_->setFocus(Qt::MouseFocusReason);
}

bool MEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edit_) {
        return MControlFont::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::FocusIn:
            baseline_ = GetTitle();
            update();
            Notify(kNotifyFocus);
            break;
        case QEvent::FocusOut: {
            update();
            // A pop-up menu of the edit itself takes the focus only for a moment.
            if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
                FinishEditing();
            }
            break;
        }
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if ((key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) &&
                OnStep(key->key() == Qt::Key_Up ? 1 : -1)) {
                return true;
            }
            break;
        }
        case QEvent::Wheel: {
            auto* wheel = static_cast<QWheelEvent*>(event);
            const int notches = edit_->hasFocus() ? wheel_.Add(wheel->angleDelta().y()) : 0;
            if (notches != 0 && OnStep(notches)) {
                return true;
            }
            break;
        }
        case QEvent::Enter:
            update();
            break;
        default:
            break;
    }
    return MControlFont::eventFilter(watched, event);
}

void MEdit::resizeEvent(QResizeEvent* event) {
    MControlFont::resizeEvent(event);
    const int padX = std::min(8, width() / 6);
    const int h = std::min(height(), QFontMetrics(Font()).height() + 6);
    edit_->setGeometry(padX, (height() - h) / 2, std::max(1, width() - 2 * padX), h);
}

void MEdit::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();
    const bool focused = edit_->hasFocus();
    const bool hover = underMouse() || edit_->underMouse();
    const int state = !isEnabled() ? 3 : (focused ? 2 : (hover ? 1 : 0));
    if (!DrawSkin(p, r, state)) {
        DrawFieldFace(p, r, state);
    }
}

// --- NumberEdit ------------------------------------------------------------------------------

NumberEdit::NumberEdit() {
    SetNumberOnly(true);
}

void NumberEdit::SetRange(int minimum, int maximum) {
    min_ = std::min(minimum, maximum);
    max_ = std::max(minimum, maximum);
    SetNumberOnly(true, min_ < 0);
}

bool NumberEdit::OnStep(int delta) {
    if (IsReadOnly()) {
        return false;
    }
    const long long next =
        std::clamp<long long>(static_cast<long long>(GetNumber()) + delta, min_, max_);
    if (next == GetNumber() && !GetTitle().empty()) {
        return true;
    }
    SetNumber(int(next));
    Notify(kNotifyEditChanged);
    return true;
}

}  // namespace DUI
