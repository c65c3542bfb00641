#include "typeset.h"

#include <cmath>
#include <cstdio>

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

namespace mkdocs {

namespace {

const QColor kAccent(122, 61, 18);
const QColor kGrey(110, 110, 110);
constexpr double kHeadMm = 9.0; // running title and its rule
constexpr double kFootMm = 9.0; // page number

const char* const kStyle = R"(
body { font-family: 'Liberation Serif'; font-size: 11pt; }
h1 { font-family: 'Liberation Sans'; font-size: 20pt; font-weight: bold; color: #7a3d12; margin-bottom: 10px; }
h2 { font-family: 'Liberation Sans'; font-size: 14pt; font-weight: bold; color: #7a3d12; margin-top: 16px; margin-bottom: 6px; }
h3 { font-family: 'Liberation Sans'; font-size: 11.5pt; font-weight: bold; margin-top: 12px; margin-bottom: 4px; }
h4 { font-family: 'Liberation Sans'; font-size: 11pt; font-weight: bold; margin-top: 8px; }
p { margin-top: 0px; margin-bottom: 6px; }
table { border-color: #8c8c8c; border-style: solid; margin-top: 4px; margin-bottom: 10px; }
th { font-family: 'Liberation Sans'; font-size: 9.5pt; font-weight: bold; background-color: #f3d441; }
td { font-size: 10pt; }
td.num { text-align: right; }
p.note { font-size: 9.5pt; color: #505050; }
)";

double mmToPixels(double mm, int dpi) {
    return mm * dpi / 25.4;
}

// A heading near the foot of a page starts the next page instead, so it stays with its text; so does a
// heading whose table would be split although the two fit on one page.
void keepHeadingsWithText(QTextDocument& doc, double pageHeight, double minSpaceBelow) {
    QAbstractTextDocumentLayout* layout = doc.documentLayout();
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0) continue;
        const QRectF r = layout->blockBoundingRect(block);
        const double offset = std::fmod(r.top(), pageHeight);
        if (offset < minSpaceBelow / 3) continue; // already at the top of its page
        const double pageEnd = r.top() - offset + pageHeight;
        double keepUntil = r.bottom() + minSpaceBelow;
        if (QTextTable* table = QTextCursor(block.next()).currentTable()) {
            const double tableEnd = layout->frameBoundingRect(table).bottom();
            if (tableEnd - r.top() < pageHeight * 0.95) keepUntil = std::max(keepUntil, tableEnd);
        }
        if (keepUntil <= pageEnd) continue;
        // A heading just above, with at most a short note between, goes along (a section title and its
        // first subsection).
        QTextBlock anchor = block;
        for (QTextBlock prev = block.previous(); prev.isValid(); prev = prev.previous()) {
            if (QTextCursor(prev).currentTable() || r.top() - layout->blockBoundingRect(prev).top() > minSpaceBelow)
                break;
            if (prev.blockFormat().headingLevel() > 0) anchor = prev;
        }
        QTextBlockFormat f = anchor.blockFormat();
        f.setPageBreakPolicy(f.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(anchor).setBlockFormat(f);
        // Lay everything out again: after a changed block the incremental layout leaves stale positions.
        doc.markContentsDirty(0, doc.characterCount());
    }
}

} // namespace

void applyHouseStyle(QTextDocument& doc) {
    doc.setDefaultStyleSheet(QString::fromLatin1(kStyle));
    doc.setDefaultFont(QFont(QStringLiteral("Liberation Serif"), 11));
    doc.setDocumentMargin(0);
}

bool writePdf(QTextDocument& doc, const QString& title, const QString& path) {
    const QString part = path + QStringLiteral(".part");
    {
        QPdfWriter writer(part);
        writer.setResolution(600);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(22, 15, 20, 12),
                                         QPageLayout::Millimeter));
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Lenkwerk"));

        const int dpi = writer.resolution();
        const QRectF area = writer.pageLayout().paintRectPixels(dpi);
        const double head = mmToPixels(kHeadMm, dpi);
        const double foot = mmToPixels(kFootMm, dpi);
        const double bodyHeight = area.height() - head - foot;

        doc.documentLayout()->setPaintDevice(&writer);
        doc.setPageSize(QSizeF(area.width(), bodyHeight));
        keepHeadingsWithText(doc, bodyHeight, mmToPixels(30, dpi));
        const int pages = doc.pageCount();

        QPainter painter;
        if (!painter.begin(&writer)) {
            std::fprintf(stderr, "mkdocs: %s lässt sich nicht schreiben\n", qPrintable(path));
            return false;
        }
        QFont small(QStringLiteral("Liberation Sans"), 8);
        for (int page = 0; page < pages; ++page) {
            if (page > 0) writer.newPage();
            painter.setFont(small);
            painter.setPen(kGrey);
            const double lineY = mmToPixels(kHeadMm - 3, dpi);
            painter.drawText(QRectF(0, 0, area.width(), lineY), Qt::AlignLeft | Qt::AlignBottom, title);
            painter.drawText(QRectF(0, 0, area.width(), lineY), Qt::AlignRight | Qt::AlignBottom,
                             QStringLiteral("Lenkwerk"));
            painter.setPen(QPen(kAccent, mmToPixels(0.25, dpi)));
            painter.drawLine(QPointF(0, lineY + mmToPixels(1, dpi)), QPointF(area.width(), lineY + mmToPixels(1, dpi)));
            painter.setPen(kGrey);
            painter.drawText(QRectF(0, area.height() - foot * 0.6, area.width(), foot * 0.6),
                             Qt::AlignHCenter | Qt::AlignBottom,
                             QStringLiteral("Seite %1 von %2").arg(page + 1).arg(pages));

            painter.save();
            painter.translate(0, head - page * bodyHeight);
            doc.drawContents(&painter, QRectF(0, page * bodyHeight, area.width(), bodyHeight));
            painter.restore();
        }
        if (!painter.end()) {
            std::fprintf(stderr, "mkdocs: %s lässt sich nicht schreiben\n", qPrintable(path));
            return false;
        }
    }
    QFile::remove(path);
    if (!QFile::rename(part, path)) {
        std::fprintf(stderr, "mkdocs: %s lässt sich nicht anlegen\n", qPrintable(path));
        QFile::remove(part);
        return false;
    }
    return true;
}

} // namespace mkdocs
