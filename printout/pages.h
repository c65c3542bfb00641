#pragma once

#include <QByteArray>
#include <QRectF>
#include <QString>
#include <QStringList>

namespace printout {

class QuestionSource;

// The three fonts of the printout: normal (Times Roman 8), bold (MS Sans Serif 8 bold), heading (MS Sans Serif 12
// bold).
enum class PrintFont { Normal, Bold, Heading };

// What the pages are drawn on, in device pixels of the printable area: the printer's painter in the program, a
// recorder in the tests.
class PageCanvas {
public:
    virtual ~PageCanvas() = default;
    // Printable width and height.
    virtual int width() const = 0;
    virtual int height() const = 0;
    // One line of text whose top left corner is (x, y).
    virtual void text(double x, double y, PrintFont font, const QString& text) = 0;
    virtual void line(double x1, double y1, double x2, double y2) = 0;
    // A Windows bitmap scaled into the rectangle.
    virtual void picture(const QRectF& target, const QByteArray& bmp) = 0;
    // Ends the page and begins the next; false when the printer failed.
    virtual bool newPage() = 0;
};

// Breaks a text into lines of at most `width` characters at blanks (a longer word is cut); line breaks in the text
// are kept, and every line loses its leading blanks.
QStringList wrapText(const QString& text, int width);

// "0.8" -> "0,8": the solutions print values with the German decimal comma.
QString decimalComma(const QString& value);

// PRINTFRAGEN: the question pages in two columns, then the solution pages (PRINTLOESUNG). False when a page
// could not be begun.
bool PRINTFRAGEN(PageCanvas& canvas, const QuestionSource& questions);
bool PRINTLOESUNG(PageCanvas& canvas, const QuestionSource& questions);

} // namespace printout
