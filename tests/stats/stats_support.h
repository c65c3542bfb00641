#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "catalog/tables.h"
#include "store/workarea.h"

namespace statstest {

// One record of a learning-state table, with the fields the statistics read.
struct Question {
    std::string nr;
    int thema = 1;
    std::vector<std::string> classes; // class columns with points 1..5; the others stay 0
    std::string wert;                 // MC_WERT: non-empty for a value question
    int antworten = 0;
    int richtig = 0;
    int falsch = 0;
    std::string zuletzt;
};

// Writes `name`.DBF (LOCAL1 or LOCAL2) into the folder with the learning-state fields.
inline void writeLocal(const std::filesystem::path& dir, const std::string& name, const std::vector<Question>& rows) {
    store::Session session;
    store::WorkArea* a = session.create(dir / (name + ".DBF"), catalog::localFields(), "DLOC");
    if (!a) return;
    for (const Question& q : rows) {
        a->appendBlank();
        a->replace("FRAGENR", store::Value::text(q.nr));
        a->replace("THEMA", store::Value::number(q.thema));
        for (const std::string& c : q.classes)
            a->replace(c, store::Value::number(3));
        a->replace("MC_WERT", store::Value::text(q.wert));
        a->replace("ANTWORTEN", store::Value::number(q.antworten));
        a->replace("RICHTIG", store::Value::number(q.richtig));
        a->replace("FALSCH", store::Value::number(q.falsch));
        a->replace("ZULETZT", store::Value::text(q.zuletzt));
    }
    session.closeAll();
}

// A question answered `right` times correctly and `wrong` times wrongly.
inline Question answered(std::string nr, int thema, std::vector<std::string> classes, int right, int wrong,
                         std::string wert = {}) {
    Question q;
    q.nr = std::move(nr);
    q.thema = thema;
    q.classes = std::move(classes);
    q.wert = std::move(wert);
    q.richtig = right;
    q.falsch = wrong;
    q.antworten = right + wrong;
    q.zuletzt = q.antworten ? std::to_string(10 + (right * 7 + wrong * 13) % 50) : std::string();
    return q;
}

// The counters of every record, in record order, as (ANTWORTEN, RICHTIG, FALSCH, ZULETZT) text.
inline std::vector<std::string> counters(const std::filesystem::path& dbf) {
    store::Session session;
    std::vector<std::string> out;
    store::WorkArea* a = session.use(dbf, "X");
    if (!a) return out;
    for (a->goTop(); !a->eof(); a->skip())
        out.push_back(std::to_string(int(a->number("ANTWORTEN"))) + "/" + std::to_string(int(a->number("RICHTIG"))) +
                      "/" + std::to_string(int(a->number("FALSCH"))) + "/[" + a->text("ZULETZT") + "]");
    return out;
}

} // namespace statstest
