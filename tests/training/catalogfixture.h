#pragma once

// A question catalog and a learner's table written through the table engine into a program folder, for the
// training's tests, its benchmark and the gallery.
#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "catalog/crypt.h"
#include "catalog/tables.h"
#include "platform/ansi.h"
#include "store/workarea.h"

namespace trainingfixture {

// Texts are written here in UTF-8; the tables keep cp1252.
inline std::string ansi(const std::string& utf8) {
    return platform::toAnsi(QString::fromUtf8(utf8));
}

struct Question {
    std::string nr;
    int theme = 1;
    std::string text;
    std::vector<std::string> answers; // two or three for multiple choice, none for number questions
    std::array<bool, 3> ok{};
    std::string vor, wert, zwisch, wert2, nach;
    std::map<std::string, int> points = {{"KLASSE_B", 3}};
    std::string bitmap;  // "", "KEINBILD" or a picture name
    std::string picture; // the bytes of a .BMP
};

inline Question choice(const std::string& nr, int theme, const std::string& text,
                       std::vector<std::string> answers, std::array<bool, 3> ok) {
    Question q;
    q.nr = nr;
    q.theme = theme;
    q.text = text;
    q.answers = std::move(answers);
    q.ok = ok;
    return q;
}

inline Question value(const std::string& nr, int theme, const std::string& text, const std::string& vor,
                      const std::string& wert, const std::string& nach) {
    Question q;
    q.nr = nr;
    q.theme = theme;
    q.text = text;
    q.vor = vor;
    q.wert = wert;
    q.nach = nach;
    return q;
}

// FRAGEN.DBF/.FPT with its index FRAGEN.CDX (tag FRAGEN on FRAGENR); texts stored scrambled as the catalog keeps
// them (cp1252 bytes).
inline bool writeCatalog(const std::filesystem::path& dir, const std::vector<Question>& questions) {
    store::Session s;
    store::WorkArea* f = s.create(dir / "FRAGEN.DBF", catalog::fragenFields(), "DFRG");
    if (!f) return false;
    for (const Question& q : questions) {
        f->appendBlank();
        f->replace("FRAGENR", store::Value::text(q.nr));
        f->replace("THEMA", store::Value::number(q.theme));
        f->replaceMemo("FRAGE", catalog::DECRYPT(ansi(q.text)), false);
        static const char* const antw[3] = {"ANTW1", "ANTW2", "ANTW3"};
        static const char* const ok[3] = {"OK1", "OK2", "OK3"};
        for (size_t i = 0; i < q.answers.size() && i < 3; ++i)
            f->replaceMemo(antw[i], catalog::DECRYPT(ansi(q.answers[i])), false);
        for (int i = 0; i < 3; ++i)
            f->replace(ok[i], store::Value::logical(q.ok[i]));
        f->replace("MCHOICE", store::Value::logical(q.wert.empty()));
        f->replace("MC_VOR", store::Value::text(ansi(q.vor)));
        f->replace("MC_WERT", store::Value::text(q.wert));
        f->replace("MC_ZWISCH", store::Value::text(ansi(q.zwisch)));
        f->replace("MC_WERT2", store::Value::text(q.wert2));
        f->replace("MC_NACH", store::Value::text(ansi(q.nach)));
        f->replace("MC_ANZAHL", store::Value::number(double(q.answers.size())));
        for (const auto& [column, points] : q.points)
            f->replace(column, store::Value::number(points));
        f->replace("BITMAP", store::Value::text(q.bitmap));
        if (!q.picture.empty()) f->replaceMemo("PICTURE", q.picture, true);
    }
    return f->indexOn("FRAGENR", dir / "FRAGEN.CDX", "FRAGEN");
}

// The learner's counters of one question as a test prepares or reads them.
struct Counts {
    int antworten = 0;
    int richtig = 0;
    int falsch = 0;
    std::string zuletzt;
};

inline bool setCounts(const std::filesystem::path& local, const std::map<std::string, Counts>& counts) {
    store::Session s;
    store::WorkArea* l = s.use(local, "DLOC");
    if (!l) return false;
    for (l->goTop(); !l->eof(); l->skip()) {
        const auto it = counts.find(l->text("FRAGENR"));
        if (it == counts.end()) continue;
        l->replace("ANTWORTEN", store::Value::number(it->second.antworten));
        l->replace("RICHTIG", store::Value::number(it->second.richtig));
        l->replace("FALSCH", store::Value::number(it->second.falsch));
        l->replace("ZULETZT", store::Value::text(it->second.zuletzt));
    }
    return true;
}

inline std::map<std::string, Counts> readCounts(const std::filesystem::path& local) {
    std::map<std::string, Counts> all;
    store::Session s;
    store::WorkArea* l = s.use(local, "DLOC", store::Table::Mode::SharedRead);
    if (!l) return all;
    for (l->goTop(); !l->eof(); l->skip())
        all[l->text("FRAGENR")] = {int(l->number("ANTWORTEN")), int(l->number("RICHTIG")), int(l->number("FALSCH")),
                                   l->text("ZULETZT")};
    return all;
}

// A small Windows bitmap (24 bit) of one colour, as the catalog keeps pictures.
inline std::string bitmapBytes(int width, int height, unsigned char r, unsigned char g, unsigned char b) {
    const int row = (width * 3 + 3) / 4 * 4;
    const int size = 54 + row * height;
    std::string bmp(size, '\0');
    auto put32 = [&](int at, int v) {
        for (int i = 0; i < 4; ++i)
            bmp[at + i] = char((v >> (8 * i)) & 0xff);
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, size);
    put32(10, 54);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    bmp[26] = 1;
    bmp[28] = 24;
    put32(34, row * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int at = 54 + y * row + x * 3;
            bmp[at] = char(b);
            bmp[at + 1] = char(g);
            bmp[at + 2] = char(r);
        }
    return bmp;
}

} // namespace trainingfixture
