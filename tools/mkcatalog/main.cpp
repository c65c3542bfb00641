// The catalog compiler: checks the question sources under data/catalog and writes FRAGEN.DBF, FRAGEN.FPT and
// FRAGEN.CDX into the program folder through the program's own table engine, the texts scrambled as the program
// stores them and every picture rendered into a Windows bitmap.
//
// Usage: mkcatalog [--coverage N] [--pattern-limit P] <catalog source folder> <program folder>
// (--coverage: how many times its questions every exam step must find per class; 3 unless given;
//  --pattern-limit: the largest share in per cent one right-answer pattern may have; 40 unless given)

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <map>

#include "catalog/crypt.h"
#include "catalog/tables.h"
#include "catalogsource.h"
#include "store/codepage.h"
#include "store/error.h"
#include "store/workarea.h"

namespace {

// The picture area of the question dialog is 318 x 200; an 8-bit palette keeps the memo file small.
QByteArray renderBitmap(const QString& svgPath) {
    QSvgRenderer renderer(svgPath);
    if (!renderer.isValid())
        return {};
    QImage image(318, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, 318, 200));
    painter.end();
    const QImage indexed = image.convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither | Qt::PreferDither);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    indexed.save(&buffer, "BMP");
    return bytes;
}

std::string ansi(const std::string& utf8) { return store::utf8ToCp1252(utf8); }

void printCoverage(const catalogsrc::Catalog& catalog) {
    std::map<std::string, std::vector<catalogsrc::CoverageCell>> byClass;
    for (const auto& cell : catalogsrc::coverage(catalog))
        byClass[cell.classCode].push_back(cell);
    std::printf("Abdeckung der Prüfungsschritte (vorhanden / gebraucht je Prüfung):\n%-8s", "Klasse");
    for (const auto& step : catalog::EXAM_STEPS)
        std::printf(" T%d/G%c", step.theme, step.group);
    std::printf("\n");
    for (const auto& code : catalogsrc::kClassCodes) {
        std::printf("%-8s", code.c_str());
        for (const auto& cell : byClass[code])
            std::printf(" %3d/%d", cell.available, cell.takes);
        std::printf("\n");
    }
}

void printPatterns(const catalogsrc::Catalog& catalog) {
    const auto d = catalogsrc::answerPatterns(catalog);
    std::printf("Muster der richtigen Antworten (%d Auswahlfragen):\n", d.multipleChoice);
    for (const auto& p : d.patterns)
        std::printf("  %-6s %5d  %5.1f %%\n", p.pattern.c_str(), p.count,
                    d.multipleChoice ? 100.0 * p.count / d.multipleChoice : 0.0);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    int factor = 3;
    int patternLimit = 40;
    int first = 1;
    for (; first + 1 < argc; first += 2) {
        const std::string option = argv[first];
        if (option == "--coverage")
            factor = std::atoi(argv[first + 1]);
        else if (option == "--pattern-limit")
            patternLimit = std::atoi(argv[first + 1]);
        else
            break;
    }
    if (argc - first != 2) {
        std::fprintf(stderr,
                     "Aufruf: mkcatalog [--coverage N] [--pattern-limit P] <Katalogquellen> <Programmordner>\n");
        return 2;
    }
    const std::filesystem::path source = argv[first];
    const std::filesystem::path target = argv[first + 1];
    const auto pictures = source / "pictures";

    catalogsrc::Catalog catalog = catalogsrc::readCatalog(source);
    catalogsrc::validate(catalog, pictures);
    catalogsrc::checkCoverage(catalog, factor);
    catalogsrc::checkAnswerPatterns(catalog, patternLimit);
    if (std::filesystem::exists(source / "REVIEW.md"))
        catalogsrc::checkReview(catalog, source / "REVIEW.md");
    printCoverage(catalog);
    printPatterns(catalog);

    std::map<std::string, QByteArray> bitmaps;
    for (const auto& q : catalog.questions) {
        if (!q.bild)
            continue;
        const std::string name = catalog::pictureName(q.nr);
        const auto svg = pictures / (name + ".svg");
        if (!std::filesystem::exists(svg))
            continue; // already a fault
        QByteArray bmp = renderBitmap(QString::fromStdString(svg.string()));
        if (bmp.isEmpty())
            catalog.faults.push_back({q.file + ":" + std::to_string(q.line), q.nr + ": Bild ist kein gültiges SVG"});
        bitmaps[q.nr] = bmp;
    }

    if (!catalog.faults.empty()) {
        for (const auto& f : catalog.faults)
            std::fprintf(stderr, "%s: %s\n", f.where.c_str(), f.message.c_str());
        std::fprintf(stderr, "Fragenkatalog: %zu Fehler, nichts geschrieben.\n", catalog.faults.size());
        return 1;
    }

    bool failed = false;
    store::setErrorCallback([&](const store::StoreError& e) {
        std::fprintf(stderr, "%s: %s\n", e.file.c_str(), e.message.c_str());
        failed = true;
    });
    std::filesystem::create_directories(target);
    std::filesystem::remove(target / "FRAGEN.CDX");
    {
        store::Session session;
        store::WorkArea* dfrg = session.create(target / "FRAGEN.DBF", catalog::fragenFields(), "DFRG");
        if (!dfrg)
            return 1;
        auto text = [&](const char* field, const std::string& utf8) {
            dfrg->replace(field, store::Value::text(ansi(utf8)));
        };
        auto memo = [&](const char* field, const std::string& utf8) {
            if (!utf8.empty())
                dfrg->replaceMemo(field, catalog::DECRYPT(ansi(utf8)), false);
        };
        int withPicture = 0, numberQuestions = 0;
        for (const auto& q : catalog.questions) {
            dfrg->appendBlank();
            text("FRAGENR", q.nr);
            dfrg->replace("THEMA", store::Value::number(q.theme()));
            memo("FRAGE", q.frage);
            static const char* const answerFields[3] = {"ANTW1", "ANTW2", "ANTW3"};
            static const char* const okFields[3] = {"OK1", "OK2", "OK3"};
            for (size_t i = 0; i < q.answers.size() && i < 3; ++i) {
                memo(answerFields[i], q.answers[i].text);
                dfrg->replace(okFields[i], store::Value::logical(q.answers[i].right));
            }
            for (size_t i = q.answers.size(); i < 3; ++i)
                dfrg->replace(okFields[i], store::Value::logical(false));
            dfrg->replace("MCHOICE", store::Value::logical(!q.isNumberQuestion()));
            text("MC_VOR", q.vor);
            text("MC_WERT", q.wert);
            text("MC_ZWISCH", q.zwischen);
            text("MC_WERT2", q.wert2);
            text("MC_NACH", q.nach);
            dfrg->replace("MC_ANZAHL", store::Value::number(static_cast<double>(q.answers.size())));
            for (size_t c = 0; c < catalogsrc::kColumns.size(); ++c)
                dfrg->replace(catalog::KLASSEN_FELDER[c], store::Value::number(q.points(catalogsrc::kColumns[c])));
            auto bmp = bitmaps.find(q.nr);
            if (bmp != bitmaps.end()) {
                text("BITMAP", catalog::pictureName(q.nr));
                dfrg->replaceMemo("PICTURE", std::string_view(bmp->second.constData(), bmp->second.size()), true);
                ++withPicture;
            } else {
                text("BITMAP", "KEINBILD");
            }
            numberQuestions += q.isNumberQuestion();
        }
        dfrg->indexOn("FRAGENR", target / "FRAGEN.CDX", "FRAGEN");
        std::printf("FRAGEN.DBF: %zu Fragen, davon %d Zahlenfragen und %d mit Bild.\n", catalog.questions.size(),
                    numberQuestions, withPicture);
    }
    return failed ? 1 : 0;
}
