#pragma once

#include <QDate>
#include <QLineEdit>

#include <optional>

namespace ui {

// An edit field with an edit mask: free text, upper case only, digits only, a date "dd.mm.yyyy" or a decimal
// number with a decimal comma after a picture such as "@E 9.99". Optionally the first key typed after the field
// gets the focus replaces its whole content.
class MaskedEdit : public QLineEdit {
    Q_OBJECT
public:
    enum class Mask { Text, Upper, Digits, Date, Decimal };

    explicit MaskedEdit(QWidget* parent = nullptr);

    void setTextMask(int maxLength = 0);
    void setUpperCase(int maxLength = 0);
    void setDigits(int maxLength);
    void setDateMask();
    // "@E 9.99", "@E 99999.99": the nines before and after the point give the digits allowed on either side of
    // the comma. Returns false (and changes nothing) for a picture it does not understand.
    bool setPicture(const QString& picture);

    void setReplaceOnFirstKey(bool on) { m_replaceOnFirstKey = on; }
    bool replaceOnFirstKey() const { return m_replaceOnFirstKey; }

    Mask mask() const { return m_mask; }
    int integerDigits() const { return m_intDigits; }
    int fractionDigits() const { return m_fracDigits; }

    // The date typed, or nothing when the field does not hold a real calendar date.
    std::optional<QDate> date() const;
    void setDate(const QDate& date);
    // The decimal value typed ("7,5" is 7.5), or nothing when the field is empty.
    std::optional<double> decimal() const;
    void setDecimal(double value);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void resetMask();

    Mask m_mask = Mask::Text;
    int m_intDigits = 0;
    int m_fracDigits = 0;
    bool m_replaceOnFirstKey = false;
    bool m_fresh = false;
};

} // namespace ui
