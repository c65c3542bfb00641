#include "ui/maskededit.h"

#include <QKeyEvent>
#include <QRegularExpression>
#include <QValidator>

namespace ui {

namespace {

// Turns every letter into upper case as it is typed.
class UpperValidator : public QValidator {
public:
    UpperValidator(int maxLength, QObject* parent) : QValidator(parent), m_max(maxLength) {}
    State validate(QString& input, int& pos) const override {
        // Letter by letter: a whole-string upper case turns "ß" into "SS", which lengthens the text under the
        // cursor and garbles the rest of what is typed; "ß" has no upper-case letter of its own in the code page.
        for (QChar& c : input)
            c = c.toUpper();
        if (m_max > 0 && input.size() > m_max) return Invalid;
        pos = qMin(pos, int(input.size()));
        return Acceptable;
    }

private:
    int m_max;
};

// Digits with a decimal comma; a typed point becomes the comma, since the keypad offers only the point.
class DecimalValidator : public QValidator {
public:
    DecimalValidator(int intDigits, int fracDigits, QObject* parent)
        : QValidator(parent), m_re(QStringLiteral("^\\d{0,%1}(,\\d{0,%2})?$").arg(intDigits).arg(fracDigits)),
          m_frac(fracDigits) {}
    State validate(QString& input, int&) const override {
        input.replace(QLatin1Char('.'), QLatin1Char(','));
        if (m_frac == 0 && input.contains(QLatin1Char(','))) return Invalid;
        return m_re.match(input).hasMatch() ? Acceptable : Invalid;
    }

private:
    QRegularExpression m_re;
    int m_frac;
};

} // namespace

MaskedEdit::MaskedEdit(QWidget* parent) : QLineEdit(parent) {}

void MaskedEdit::resetMask() {
    if (QValidator* v = const_cast<QValidator*>(validator())) {
        setValidator(nullptr);
        if (v->parent() == this) delete v;
    }
    setInputMask(QString());
    setMaxLength(32767);
    m_intDigits = m_fracDigits = 0;
}

void MaskedEdit::setTextMask(int maxLength) {
    resetMask();
    m_mask = Mask::Text;
    if (maxLength > 0) setMaxLength(maxLength);
}

void MaskedEdit::setUpperCase(int maxLength) {
    resetMask();
    m_mask = Mask::Upper;
    setText(text().toUpper());
    if (maxLength > 0) setMaxLength(maxLength);
    setValidator(new UpperValidator(maxLength, this));
}

void MaskedEdit::setDigits(int maxLength) {
    resetMask();
    m_mask = Mask::Digits;
    m_intDigits = maxLength;
    setMaxLength(maxLength);
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), this));
}

void MaskedEdit::setDateMask() {
    resetMask();
    m_mask = Mask::Date;
    setInputMask(QStringLiteral("99.99.9999"));
}

bool MaskedEdit::setPicture(const QString& picture) {
    static const QRegularExpression re(QStringLiteral("^@E\\s+([9,]+)(?:\\.(9+))?$"));
    const auto m = re.match(picture.trimmed());
    if (!m.hasMatch()) return false;
    const int intDigits = int(m.captured(1).count(QLatin1Char('9')));
    const int fracDigits = int(m.captured(2).size());
    resetMask();
    m_mask = Mask::Decimal;
    m_intDigits = intDigits;
    m_fracDigits = fracDigits;
    setMaxLength(intDigits + (fracDigits > 0 ? 1 + fracDigits : 0));
    setValidator(new DecimalValidator(intDigits, fracDigits, this));
    return true;
}

std::optional<QDate> MaskedEdit::date() const {
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})\\s*$"));
    const auto m = re.match(text());
    if (!m.hasMatch()) return std::nullopt;
    const QDate d(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    if (!d.isValid()) return std::nullopt;
    return d;
}

void MaskedEdit::setDate(const QDate& date) {
    setText(date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString());
}

std::optional<double> MaskedEdit::decimal() const {
    QString t = text().trimmed();
    if (t.isEmpty() || t == QLatin1String(",")) return std::nullopt;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    if (t.startsWith(QLatin1Char('.'))) t.prepend(QLatin1Char('0'));
    bool ok = false;
    const double v = t.toDouble(&ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}

void MaskedEdit::setDecimal(double value) {
    QString t = QString::number(value, 'f', m_fracDigits);
    t.replace(QLatin1Char('.'), QLatin1Char(','));
    setText(t);
}

void MaskedEdit::focusInEvent(QFocusEvent* event) {
    m_fresh = true;
    QLineEdit::focusInEvent(event);
}

void MaskedEdit::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool modifierOnly = key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
                              key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_CapsLock;
    // Alt with a character is an accelerator, even one no control answers to: it must not land in the field.
    if ((event->modifiers() & (Qt::AltModifier | Qt::MetaModifier)) && !event->text().isEmpty() &&
        event->text().at(0).isPrint()) {
        event->ignore();
        return;
    }
    if (m_replaceOnFirstKey && m_fresh && !modifierOnly) {
        // Only the first key counts: a cursor key first means the user wants to edit, not replace.
        m_fresh = false;
        const QString t = event->text();
        const bool typed = !t.isEmpty() && t.at(0).isPrint() &&
                           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (typed) clear();
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace ui
