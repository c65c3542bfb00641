// Expressions: parse whatever text comes against two record views and a named value, and evaluate it.
#include <vector>

#include "fuzz_common.h"
#include "store/expr.h"

namespace {

class Record : public store::RecordView {
public:
    Record() {
        m_defs = {{"FRAGENR", store::FieldType::Character, 12, 0}, {"THEMA", store::FieldType::Numeric, 4, 0},
                  {"RICHTIG", store::FieldType::Numeric, 4, 0},    {"OK1", store::FieldType::Logical, 1, 0},
                  {"DATUM", store::FieldType::Date, 8, 0},         {"FRAGE", store::FieldType::Memo, 10, 0},
                  {"PREIS", store::FieldType::Numeric, 7, 2}};
        m_raw = {"1.2.03-101  ", "   3", "  12", "T", "20071224", "         8", "  12.50"};
    }
    int fieldCount() const override { return static_cast<int>(m_defs.size()); }
    const store::FieldDef& fieldDef(int i) const override { return m_defs[static_cast<size_t>(i)]; }
    int fieldIndex(std::string_view name) const override {
        for (size_t i = 0; i < m_defs.size(); ++i) {
            const auto& n = m_defs[i].name;
            if (n.size() == name.size() &&
                std::equal(n.begin(), n.end(), name.begin(), [](char a, char b) { return a == (b & ~0x20); }))
                return static_cast<int>(i);
        }
        return -1;
    }
    std::string_view rawField(int i) const override { return m_raw[static_cast<size_t>(i)]; }
    store::Value fieldValue(int i) const override {
        switch (m_defs[static_cast<size_t>(i)].type) {
        case store::FieldType::Numeric:
            return store::Value::number(std::atof(m_raw[static_cast<size_t>(i)].c_str()));
        case store::FieldType::Logical:
            return store::Value::logical(m_raw[static_cast<size_t>(i)] == "T");
        case store::FieldType::Date:
            return store::Value::date(2454459);
        case store::FieldType::Memo:
            return store::Value::text("Wer muss warten?");
        case store::FieldType::Character:
            break;
        }
        return store::Value::text(m_raw[static_cast<size_t>(i)]);
    }

private:
    std::vector<store::FieldDef> m_defs;
    std::vector<std::string> m_raw;
};

class Scope : public store::ExprScope {
public:
    const store::RecordView* area(std::string_view alias) const override {
        return alias.empty() || alias.size() == 4 ? &m_record : nullptr;
    }
    const store::Value* variable(std::string_view name) const override {
        return name.size() == 8 ? &m_theme : nullptr;
    }

private:
    Record m_record;
    store::Value m_theme = store::Value::number(3);
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)fuzz::scratch();
    static const Scope scope;
    std::string error;
    auto expr = store::Expression::parse(std::string_view(reinterpret_cast<const char*>(data), size), scope, &error);
    if (!expr)
        return 0;
    (void)expr->evaluate();
    (void)expr->isTrue();
    std::string key;
    expr->evaluateKey(key);
    return 0;
}
