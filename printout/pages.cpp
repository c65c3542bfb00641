#include "printout/pages.h"

#include <QRegularExpression>

#include "printout/selection.h"

namespace printout {

namespace {

QString trimLeft(const QString& s) {
    qsizetype i = 0;
    while (i < s.size() && s[i].isSpace())
        ++i;
    return s.mid(i);
}

QString trimRight(QString s) {
    while (!s.isEmpty() && s.back().isSpace())
        s.chop(1);
    return s;
}

// Row and column steps of the page, and where each of the two columns begins.
class Geometry {
public:
    explicit Geometry(const PageCanvas& canvas) : W(canvas.width()), H(canvas.height()) {}
    double y(double row) const { return row * H / 60; }
    double x(double columnSteps) const { return columnSteps * W / 80 + (m_right ? W / 2.2 : 0); }
    bool right() const { return m_right; }
    void setRight(bool right) { m_right = right; }

    const double W;
    const double H;

private:
    bool m_right = false;
};

QString header(const PrintQuestion& q) {
    return QStringLiteral("Frage Nr.: ") + q.FRAGENR.leftJustified(12) + QStringLiteral("  Fehlerpunkte: ") +
           QString::number(q.points);
}

// The opening of a question on either kind of page: the column separator from the row down, the header line.
void openQuestion(PageCanvas& canvas, const Geometry& g, double& row, const PrintQuestion& q) {
    row += 0.5;
    canvas.line(g.W / 1.9, g.y(row), g.W / 1.9, 0.98 * g.H);
    canvas.text(g.x(8), g.y(row), PrintFont::Bold, header(q));
    row += 1.5;
}

// The rule under a question, across its column.
void closeQuestion(PageCanvas& canvas, const Geometry& g, double row) {
    if (g.right())
        canvas.line(g.W / 1.8, g.y(row), g.W / 1.05, g.y(row));
    else
        canvas.line(g.W / 80 * 8, g.y(row), g.W / 2, g.y(row));
}

// Wrapped lines from `columnSteps`, 0.7 rows apart.
void lines(PageCanvas& canvas, const Geometry& g, double& row, double columnSteps, const QString& text, int width) {
    for (const QString& line : wrapText(text, width)) {
        canvas.text(g.x(columnSteps), g.y(row), PrintFont::Normal, line);
        row += 0.7;
    }
}

// A value question's line: one line as a rule; one too long for the column goes on in the next lines rather
// than off the paper.
void valueLine(PageCanvas& canvas, const Geometry& g, double& row, const QString& text) {
    const QStringList parts = wrapText(text, 60);
    for (qsizetype i = 0; i < parts.size(); ++i)
        canvas.text(g.x(8), g.y(row + 0.7 * double(i)), PrintFont::Normal, parts[i]);
    if (parts.size() > 1) row += 0.7 * double(parts.size() - 1);
}

void questionBody(PageCanvas& canvas, const Geometry& g, double& row, const PrintQuestion& q) {
    if (q.hasPicture) {
        const double width = g.W / 2.5;
        if (!q.picture.isEmpty()) canvas.picture(QRectF(g.x(8), g.y(row), width, width * 200 / 318), q.picture);
        row += (g.W / 2.3) * 200 / 318 / (g.H / 60);
    }
    lines(canvas, g, row, 8, q.text, 60);
    row += 0.5;
    if (q.multipleChoice()) {
        // Answers that draw a line of hyphens (a form to fill in) need the whole width.
        const int width = q.answers[0].contains(QLatin1String("------")) ? 80 : 57;
        const int count = q.threeAnswers() ? 3 : 2;
        for (int i = 0; i < count; ++i) {
            canvas.text(g.x(8), g.y(row), PrintFont::Normal, QString::number(i + 1) + QLatin1Char('.'));
            lines(canvas, g, row, 10, q.answers[std::size_t(i)], width);
            row += 0.5;
        }
    } else {
        // The blanks are the places to write the values in.
        const QString gap(20, QLatin1Char(' '));
        QString line = q.vor + gap;
        if (!q.zwisch.isEmpty()) line += q.zwisch + gap;
        valueLine(canvas, g, row, line + q.nach);
        row += 1.5;
    }
}

void solutionBody(PageCanvas& canvas, const Geometry& g, double& row, const PrintQuestion& q) {
    if (q.multipleChoice()) {
        const double at[3] = {8, 20, 30};
        const int count = q.threeAnswers() ? 3 : 2;
        for (int i = 0; i < count; ++i)
            canvas.text(g.x(at[i]), g.y(row), PrintFont::Normal,
                        (q.ok[std::size_t(i)] ? QStringLiteral("( X )") : QStringLiteral("(   )")) +
                            QStringLiteral(" Antwort ") + QString::number(i + 1));
        return;
    }
    const QString two(2, QLatin1Char(' '));
    QString line = q.vor + two + decimalComma(q.wert) + two;
    if (!q.wert2.isEmpty()) line += q.zwisch + two + decimalComma(q.wert2) + two;
    valueLine(canvas, g, row, line + q.nach);
}

void solutionHeading(PageCanvas& canvas, const Geometry& g, double& row, const QString& text) {
    row = 0.5;
    canvas.text(g.x(8), g.y(row), PrintFont::Heading, text);
    row += 1.5;
}

} // namespace

QStringList wrapText(const QString& text, int width) {
    QStringList out;
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    for (const QString& paragraph : text.split(breaks)) {
        QString rest = trimLeft(trimRight(paragraph));
        if (rest.isEmpty()) {
            out << QString();
            continue;
        }
        while (!rest.isEmpty()) {
            if (rest.size() <= width) {
                out << rest;
                break;
            }
            // The last blank that leaves at most `width` characters on the line; none: the word is cut.
            qsizetype cut = rest.lastIndexOf(QLatin1Char(' '), width);
            if (cut <= 0) cut = width;
            out << trimRight(rest.left(cut));
            rest = trimLeft(rest.mid(cut));
        }
    }
    while (!out.isEmpty() && out.back().isEmpty())
        out.removeLast();
    return out;
}

QString decimalComma(const QString& value) {
    return QString(value).replace(QLatin1Char('.'), QLatin1Char(','));
}

bool PRINTFRAGEN(PageCanvas& canvas, const QuestionSource& questions) {
    Geometry g(canvas);
    double row = 0;
    const int n = questions.count();
    for (int i = 0; i < n; ++i) {
        const PrintQuestion q = questions.question(i, true);
        openQuestion(canvas, g, row, q);
        questionBody(canvas, g, row, q);
        closeQuestion(canvas, g, row);
        if (i + 1 == n) break;
        // A question with a picture needs more room than one without.
        const bool picture = questions.question(i + 1, false).hasPicture;
        if ((picture && row > 39) || (!picture && row > 46)) {
            row = 0;
            if (!g.right()) {
                g.setRight(true);
            } else {
                g.setRight(false);
                if (!canvas.newPage()) return false;
            }
        }
    }
    if (!canvas.newPage()) return false;
    return PRINTLOESUNG(canvas, questions);
}

bool PRINTLOESUNG(PageCanvas& canvas, const QuestionSource& questions) {
    Geometry g(canvas);
    double row = 0;
    solutionHeading(canvas, g, row, QStringLiteral("Nun folgen die Ergebnisse dieser Prüfungsfragen"));
    const int n = questions.count();
    for (int i = 0; i < n; ++i) {
        const PrintQuestion q = questions.question(i, false);
        openQuestion(canvas, g, row, q);
        solutionBody(canvas, g, row, q);
        row += 1.5;
        closeQuestion(canvas, g, row);
        if (i + 1 == n || row <= 50) continue;
        if (!g.right()) {
            g.setRight(true);
            row = 2; // below the heading
        } else {
            g.setRight(false);
            if (!canvas.newPage()) return false;
            solutionHeading(canvas, g, row, QStringLiteral("Nun folgen weitere Ergebnisse dieser Prüfungsfragen"));
        }
    }
    return true;
}

} // namespace printout
