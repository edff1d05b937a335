#include "ControlAccessible.h"

#include "CDFader.h"
#include "CDLcd.h"
#include "CDLed.h"
#include "CDPoti.h"
#include "ControlMessages.h"

#include <QAccessibleWidget>
#include <QCoreApplication>

#include <utility>

namespace {

constexpr const char* kButtonProperty = "quenleyAccessibleButton";

} // namespace

// One interface for every control class; what it offers follows the control it stands for.
class CControlAccessible : public QAccessibleWidget,
                           public QAccessibleValueInterface,
                           public QAccessibleTextInterface {
public:
    explicit CControlAccessible(CDCtrl* pControl) : QAccessibleWidget(pControl, RoleOf(pControl)) {}

    static QAccessible::Role RoleOf(const CDCtrl* pControl) {
        if (qobject_cast<const CDPoti*>(pControl))
            return QAccessible::Dial;
        if (qobject_cast<const CDFader*>(pControl))
            return QAccessible::Slider;
        if (const auto* pLed = qobject_cast<const CDLed*>(pControl))
            return ControlAccessible::IsButton(pLed) || pLed->IsMomentary() ? QAccessible::Button
                                                                            : QAccessible::CheckBox;
        return QAccessible::StaticText;
    }

    CDCtrl* Control() const { return static_cast<CDCtrl*>(widget()); }
    CDDynCtrl* Dyn() const { return qobject_cast<CDDynCtrl*>(widget()); }
    CDLcd* Lcd() const { return qobject_cast<CDLcd*>(widget()); }
    CDLed* Led() const { return qobject_cast<CDLed*>(widget()); }
    bool HasValue() const {
        const CDLcd* pLcd = Lcd();
        return Dyn() && (!pLcd || pLcd->IsNumeric());
    }

    QAccessible::Role role() const override {
        // A read-out that takes typing is an entry; one that only shows stays text.
        if (const CDLcd* pLcd = Lcd(); pLcd && pLcd->isEnabled())
            return pLcd->IsNumeric() ? QAccessible::SpinBox : QAccessible::EditableText;
        return QAccessibleWidget::role();
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (const CDLed* pLed = Led()) {
            s.checkable = !pLed->IsMomentary();
            s.checked = s.checkable && pLed->GetState();
            s.pressed = pLed->IsMomentary() && pLed->GetState();
            s.readOnly = pLed->IsReadOnly();
        } else if (Lcd()) {
            s.readOnly = !widget()->isEnabled();
            s.editable = widget()->isEnabled();
        }
        return s;
    }

    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name:
            return widget()->accessibleName();
        case QAccessible::Description:
            return widget()->accessibleDescription();
        case QAccessible::Value:
            if (const CDLcd* pLcd = Lcd())
                return QString::fromLatin1(pLcd->GetText()).trimmed();
            if (const CDDynCtrl* pDyn = Dyn())
                return QString::number(pDyn->ShownValue());
            return {};
        default:
            return QAccessibleWidget::text(t);
        }
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface && HasValue())
            return static_cast<QAccessibleValueInterface*>(this);
        if (t == QAccessible::TextInterface && Lcd())
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // --- Value: a change is one turn of the control ------------------------------------------

    QVariant currentValue() const override { return Dyn() ? Dyn()->ShownValue() : 0; }
    QVariant maximumValue() const override { return Dyn() ? Dyn()->GetMax() : 0; }
    QVariant minimumValue() const override { return Dyn() ? Dyn()->GetMin() : 0; }
    QVariant minimumStepSize() const override { return 1; }

    void setCurrentValue(const QVariant& value) override {
        CDDynCtrl* pDyn = Dyn();
        bool bNumber = false;
        const double dValue = value.toDouble(&bNumber);
        if (!pDyn || !HasValue() || !pDyn->isEnabled() || !bNumber)
            return;
        const int nValue = qBound(pDyn->GetMin(), qRound(dValue), pDyn->GetMax());
        if (nValue == pDyn->ShownValue())
            return;
        const unsigned nMsg = Lcd()                          ? WM_DLCD_CHANGED
                              : qobject_cast<CDFader*>(pDyn) ? WM_DFADER_CHANGED
                                                             : WM_DPOTI_CHANGED;
        BeginChange();
        pDyn->SetValue(nValue, true);
        Notify(nMsg);
    }

    // --- Actions: a lamp is clicked, a value stepped as by the arrow keys --------------------

    QStringList actionNames() const override {
        QStringList names;
        if (!widget()->isEnabled())
            return names;
        if (const CDLed* pLed = Led()) {
            if (!pLed->IsReadOnly())
                names << (pLed->IsMomentary() || ControlAccessible::IsButton(pLed)
                              ? pressAction()
                              : toggleAction());
        } else if (HasValue()) {
            names << increaseAction() << decreaseAction();
        }
        return names;
    }

    void doAction(const QString& strAction) override {
        if (!actionNames().contains(strAction))
            return;
        if (CDLed* pLed = Led()) {
            // A click: pressed, and for a button that springs back, released.
            BeginChange();
            pLed->SetState(!pLed->GetState());
            Notify(WM_DLED_CHANGED);
            if (pLed->IsMomentary()) {
                pLed->SetState(false);
                Notify(WM_DLED_CHANGED);
            }
            return;
        }
        const int nStep = strAction == increaseAction() ? 1 : -1;
        setCurrentValue(Dyn()->ShownValue() + nStep);
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    // --- Text: what a read-out shows, cell by cell ------------------------------------------

    QString Text() const { return Lcd() ? QString::fromLatin1(Lcd()->GetText()) : QString(); }

    void selection(int, int* pnStart, int* pnEnd) const override { *pnStart = *pnEnd = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return Lcd() ? Lcd()->GetCursor() : 0; }
    void setCursorPosition(int) override {}
    QString text(int nStart, int nEnd) const override {
        const QString strText = Text();
        if (nEnd < 0 || nEnd > strText.size())
            nEnd = int(strText.size());
        nStart = qBound(0, nStart, nEnd);
        return strText.mid(nStart, nEnd - nStart);
    }
    int characterCount() const override { return int(Text().size()); }
    QRect characterRect(int nOffset) const override {
        const int nCells = qMax(1, characterCount());
        const QRect r = widget()->rect();
        const int w = r.width() / nCells;
        const QRect rCell(qBound(0, nOffset, nCells - 1) * w, 0, w, r.height());
        return QRect(widget()->mapToGlobal(rCell.topLeft()), rCell.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        const int nCells = qMax(1, characterCount());
        const QPoint at = widget()->mapFromGlobal(point);
        if (!widget()->rect().contains(at))
            return -1;
        return qBound(0, at.x() * nCells / qMax(1, widget()->width()), nCells - 1);
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int nOffset, int* pnStart, int* pnEnd) const override {
        *pnStart = *pnEnd = nOffset;
        return {};
    }

private:
    void BeginChange() {
        QEvent change(ControlAccessible::AssistedChangeEvent());
        QCoreApplication::sendEvent(widget(), &change);
    }
    void Notify(unsigned nMsg) { Control()->Notify(nMsg); }
};

namespace ControlAccessible {

namespace {

Listener& TheListener() {
    static Listener s_listener;
    return s_listener;
}

bool Listening() {
    return TheListener() || QAccessible::isActive();
}

void Announce(QAccessibleEvent& event) {
    if (TheListener())
        TheListener()(&event);
    else
        QAccessible::updateAccessibility(&event);
}

QAccessibleInterface* Factory(const QString&, QObject* pObject) {
    // The factory is asked once per class up the object's hierarchy; the object decides.
    if (auto* pControl = qobject_cast<CDCtrl*>(pObject))
        return new CControlAccessible(pControl);
    return nullptr;
}

} // namespace

void Install() {
    static bool s_bInstalled = false;
    if (s_bInstalled)
        return;
    s_bInstalled = true;
    QAccessible::installFactory(Factory);
}

QEvent::Type AssistedChangeEvent() {
    static const auto s_type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return s_type;
}

void SetButton(CDLed* pLed, bool bButton) {
    if (pLed)
        pLed->setProperty(kButtonProperty, bButton);
}

bool IsButton(const CDLed* pLed) {
    return pLed && pLed->property(kButtonProperty).toBool();
}

void ValueShown(CDCtrl* pControl) {
    // A read-out says its change with its text.
    auto* pDyn = qobject_cast<CDDynCtrl*>(pControl);
    if (!pDyn || qobject_cast<CDLcd*>(pControl) || !Listening())
        return;
    QAccessibleValueChangeEvent event(pControl, pDyn->ShownValue());
    Announce(event);
}

void TextShown(CDLcd* pLcd, const QByteArray& oldText) {
    if (!pLcd || !Listening())
        return;
    const QByteArray newText(pLcd->GetText());
    if (newText == oldText)
        return;
    QAccessibleTextUpdateEvent text(pLcd, 0, QString::fromLatin1(oldText),
                                    QString::fromLatin1(newText));
    Announce(text);
    if (pLcd->IsNumeric()) {
        QAccessibleValueChangeEvent value(pLcd, pLcd->ShownValue());
        Announce(value);
    }
}

void StateShown(CDLed* pLed) {
    if (!pLed || !Listening())
        return;
    QAccessible::State changed;
    changed.checked = !pLed->IsMomentary();
    changed.pressed = pLed->IsMomentary();
    QAccessibleStateChangeEvent event(pLed, changed);
    Announce(event);
}

Listener SetListener(Listener listener) {
    return std::exchange(TheListener(), std::move(listener));
}

} // namespace ControlAccessible
