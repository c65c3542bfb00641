#pragma once

#include <QColor>
#include <QProgressBar>

namespace ui {

// A progress bar with a settable bar colour and the percentage written over it: value * 100 / total (a total of
// 0 counts as 1), truncated, three characters right-aligned and a per-cent sign.
class ProgressBar : public QProgressBar {
    Q_OBJECT
public:
    explicit ProgressBar(QWidget* parent = nullptr);

    void setTotal(int total);
    int total() const { return maximum(); }
    void setPosition(int value);
    int position() const { return value(); }

    void setBarColor(const QColor& color);
    QColor barColor() const { return m_bar; }
    void setTextColor(const QColor& color);
    void setBackgroundColor(const QColor& color);

    static QString percentText(long long value, long long total);
    QString text() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_bar{0, 0, 255};
    QColor m_text{255, 255, 255};
    QColor m_background{255, 255, 255};
};

} // namespace ui
