#include "store/workarea.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "store/error.h"

namespace store {

namespace {

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string trimRight(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.pop_back();
    return s;
}

KeyType keyTypeOf(Value::Type type) {
    switch (type) {
    case Value::Type::Number:
        return KeyType::Numeric;
    case Value::Type::Date:
        return KeyType::Date;
    case Value::Type::Logical:
        return KeyType::Logical;
    case Value::Type::Text:
        break;
    }
    return KeyType::Character;
}

bool samePath(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    if (std::filesystem::exists(a, ec) && std::filesystem::exists(b, ec))
        return std::filesystem::equivalent(a, b, ec);
    return std::filesystem::absolute(a, ec).lexically_normal() == std::filesystem::absolute(b, ec).lexically_normal();
}

} // namespace

// A tag of an open index file, with its compiled expressions and the key each record has in it, so that a change
// of a record can move its entry without searching.
struct WorkArea::OpenTag {
    CdxFile* file = nullptr;
    CdxTag* tag = nullptr;
    std::unique_ptr<Expression> key;
    std::unique_ptr<Expression> condition;
    std::vector<std::string> keyOf; // by record number - 1; empty = the record is not in the tag
    // keyOf is read from the tag when first needed: a table that is only read and sought never needs it.
    bool keysKnown = false;
    AreaRefs refs;                   // other areas the expressions read
};

struct WorkArea::Relation {
    std::unique_ptr<Expression> key;
    WorkArea* child = nullptr;
    AreaRefs refs;
};

WorkArea::WorkArea(Session& session, std::string alias, std::unique_ptr<Table> table)
    : m_session(session), m_alias(std::move(alias)), m_table(std::move(table)) {
    m_table->addObserver(this);
    m_table->goTo(1);
    m_eof = m_table->eof();
}

WorkArea::~WorkArea() {
    closeIndexes();
    m_table->removeObserver(this);
    m_table->close();
}

std::unique_ptr<Expression> WorkArea::compile(std::string_view text, const std::string& what, AreaRefs* refs) {
    const WorkArea* previous = m_session.m_compiling;
    AreaRefs* previousRefs = m_session.m_refs;
    m_session.m_compiling = this;
    m_session.m_refs = refs;
    std::string error;
    auto expr = Expression::parse(text, m_session, &error);
    m_session.m_compiling = previous;
    m_session.m_refs = previousRefs;
    if (!expr)
        reportError(m_table->path().string(), what + ": " + error);
    return expr;
}

// --- Index files

std::string WorkArea::keyFor(OpenTag& open) {
    open.key->evaluateKey(m_scratch);
    const auto length = static_cast<std::size_t>(open.tag->keyLength());
    if (m_scratch.size() != length)
        m_scratch.resize(length, open.tag->fillByte());
    return m_scratch;
}

bool WorkArea::prepareTag(OpenTag& open) {
    open.key = compile(open.tag->keyExpression(), "Schlüsselausdruck des Index " + open.tag->name(), &open.refs);
    if (!open.key)
        return false;
    if (!open.tag->forExpression().empty()) {
        open.condition =
            compile(open.tag->forExpression(), "FOR-Bedingung des Index " + open.tag->name(), &open.refs);
        if (!open.condition)
            return false;
    }
    return true;
}

bool WorkArea::fillTag(OpenTag& open, const IndexProgress& progress, std::uint32_t step) {
    CdxKeyList keys(*open.tag);
    if (!collectKeys(open, keys, progress, step))
        return false;
    open.tag->build(std::move(keys));
    return true;
}

void WorkArea::knowKeys(OpenTag& open) {
    if (open.keysKnown)
        return;
    const std::uint32_t count = m_table->recCount();
    open.keyOf.assign(count, std::string());
    auto cursor = open.tag->cursor();
    for (bool ok = cursor.first(); ok; ok = cursor.next())
        if (cursor.recno() >= 1 && cursor.recno() <= count)
            open.keyOf[cursor.recno() - 1] = std::string(cursor.key());
    open.keysKnown = true;
}

bool WorkArea::collectKeys(OpenTag& open, CdxKeyList& keys, const IndexProgress& progress, std::uint32_t step) {
    const std::uint32_t count = m_table->recCount();
    const std::uint32_t here = m_table->recNo();
    open.keyOf.assign(count, std::string());
    open.keysKnown = true;
    keys.reserve(count);
    bool stopped = false;
    for (std::uint32_t r = 1; r <= count; ++r) {
        m_table->goTo(r);
        if (!open.condition || open.condition->isTrue()) {
            open.keyOf[r - 1] = keyFor(open);
            keys.add(open.keyOf[r - 1], r);
        }
        if (step > 0 && progress && r % step == 0 && !progress(r, count)) {
            stopped = true;
            break;
        }
    }
    m_table->goTo(here);
    return !stopped;
}

KeyType WorkArea::keyTypeOfExpression(const std::string& expression) {
    const WorkArea* previous = m_session.m_compiling;
    m_session.m_compiling = this;
    auto expr = Expression::parse(expression, m_session, nullptr);
    m_session.m_compiling = previous;
    return expr ? keyTypeOf(expr->resultType()) : KeyType::Character;
}

bool WorkArea::openIndex(const std::filesystem::path& cdxPath) {
    auto file = CdxFile::open(cdxPath.string(), [this](const std::string& e) { return keyTypeOfExpression(e); });
    if (!file)
        return false;
    adoptTags(*file);
    m_files.push_back(std::move(file));
    if (!m_order && !m_tags.empty()) {
        m_order = m_tags.front().get();
        m_cursor = std::make_unique<CdxTag::Cursor>(*m_order->tag);
        goTop();
    }
    return true;
}

void WorkArea::adoptTags(CdxFile& file, std::string_view except) {
    const std::uint32_t count = m_table->recCount();
    for (CdxTag* tag : file.tags()) {
        if (!except.empty() && upper(tag->name()) == except)
            continue;
        auto open = std::make_unique<OpenTag>();
        open->file = &file;
        open->tag = tag;
        // A tag this area cannot evaluate stays readable for others; the first change here removes it (see
        // dropUnkeptTags), as it could not follow that change.
        if (!prepareTag(*open)) {
            m_unkept.emplace_back(&file, tag->name());
            continue;
        }
        // Entries of records beyond the end (an index older than the table) would come back wrong with the next
        // records appended under those numbers. A table open for reading gets no records, and its index is left
        // as it is.
        if (m_table->isExclusive()) {
            std::vector<CdxEntry> gone;
            auto cursor = tag->cursor();
            for (bool ok = cursor.first(); ok; ok = cursor.next())
                if (cursor.recno() < 1 || cursor.recno() > count)
                    gone.push_back({std::string(cursor.key()), cursor.recno()});
            for (const CdxEntry& e : gone)
                tag->erase(e.key, e.recno);
        }
        m_tags.push_back(std::move(open));
    }
}

void WorkArea::dropUnkeptTags() {
    for (const auto& [file, name] : m_unkept)
        if (file->removeTag(name))
            reportError(file->path(), "Index-Tag " + name + " kann der Änderung von " + m_alias +
                                          " nicht folgen und wird aus dem Index entfernt");
    m_unkept.clear();
}

bool WorkArea::indexOn(std::string_view keyExpression, const std::filesystem::path& cdxPath, std::string_view tagName,
                       std::string_view forCondition, const IndexProgress& progress, std::uint32_t step) {
    auto open = std::make_unique<OpenTag>();
    open->key = compile(keyExpression, "Indexausdruck", &open->refs);
    if (!open->key)
        return false;
    if (!forCondition.empty()) {
        open->condition = compile(forCondition, "FOR-Bedingung", &open->refs);
        if (!open->condition)
            return false;
        if (open->condition->resultType() != Value::Type::Logical) {
            reportError(m_table->path().string(), "FOR-Bedingung ist nicht logisch: " + std::string(forCondition));
            return false;
        }
    }
    const KeyType type = keyTypeOf(open->key->resultType());
    int length = 8;
    if (type == KeyType::Logical)
        length = 1;
    if (type == KeyType::Character) {
        length = open->key->resultLength();
        if (length < 0) {
            // A key of varying length takes the length it has on a blank record.
            const std::uint32_t here = m_table->recNo();
            m_table->goTo(m_table->recCount() + 1);
            open->key->evaluateKey(m_scratch);
            length = static_cast<int>(m_scratch.size());
            m_table->goTo(here);
        }
        // Keys cut to one byte would neither order nor seek right.
        if (length == 0) {
            reportError(m_table->path().string(),
                        "Indexausdruck ergibt auf einem leeren Satz einen leeren Schlüssel: " +
                            std::string(keyExpression));
            return false;
        }
        length = std::clamp(length, 1, kCdxMaxKeyLength);
    }

    const std::string name = upper(tagName.empty() ? cdxPath.stem().string() : std::string(tagName));
    CdxFile* file = nullptr;
    for (auto& f : m_files)
        if (samePath(f->path(), cdxPath))
            file = f.get();
    if (!file) {
        std::unique_ptr<CdxFile> created;
        std::error_code ec;
        if (std::filesystem::exists(cdxPath, ec)) {
            created = CdxFile::open(cdxPath.string(), [this](const std::string& e) { return keyTypeOfExpression(e); });
            // The other tags of the file are open from now on: kept current and selectable.
            if (created)
                adoptTags(*created, name);
        }
        if (!created)
            created = CdxFile::create(cdxPath.string());
        if (!created)
            return false;
        file = created.get();
        m_files.push_back(std::move(created));
    }

    // The keys are collected before the file is touched, so that a stopped build leaves an old tag of the same
    // name in place.
    CdxTag shape(name, std::string(keyExpression), std::string(forCondition), type, length);
    CdxKeyList keys(shape);
    open->file = file;
    open->tag = &shape;
    if (!collectKeys(*open, keys, progress, step))
        return false;
    OpenTag* replaced = nullptr;
    for (auto& t : m_tags)
        if (t->file == file && upper(t->tag->name()) == name)
            replaced = t.get();
    open->tag = file->addTag(name, std::string(keyExpression), std::string(forCondition), type, length);
    if (!open->tag)
        return false;
    std::erase_if(m_unkept, [&](const auto& u) { return u.first == file && upper(u.second) == name; });
    // addTag has put the new tag in place of the old one, whose CdxTag is gone: forget it.
    if (replaced) {
        if (m_order == replaced) {
            m_order = nullptr;
            m_cursor.reset();
        }
        std::erase_if(m_tags, [replaced](const auto& t) { return t.get() == replaced; });
    }
    open->tag->build(std::move(keys));
    // When the file cannot be written now the tag is still in use and kept current; closing tries again.
    const bool saved = file->save();
    m_tags.push_back(std::move(open));
    m_order = m_tags.back().get();
    m_cursor = std::make_unique<CdxTag::Cursor>(*m_order->tag);
    goTop();
    return saved;
}

WorkArea::OpenTag* WorkArea::findTag(std::string_view name) {
    const std::string wanted = upper(name);
    for (auto& t : m_tags)
        if (upper(t->tag->name()) == wanted)
            return t.get();
    return nullptr;
}

bool WorkArea::setOrder(std::string_view tagName) {
    if (tagName.empty()) {
        m_order = nullptr;
        m_cursor.reset();
        return true;
    }
    OpenTag* tag = findTag(tagName);
    if (!tag) {
        reportError(m_table->path().string(), "Index-Tag nicht gefunden: " + std::string(tagName));
        return false;
    }
    m_order = tag;
    m_cursor = std::make_unique<CdxTag::Cursor>(*tag->tag);
    m_cursorStale = true;
    return true;
}

const CdxTag* WorkArea::controllingTag() const { return m_order ? m_order->tag : nullptr; }

void WorkArea::closeIndexes() {
    m_unkept.clear();
    m_cursorStale = false;
    m_cursor.reset();
    m_order = nullptr;
    m_tags.clear();
    for (auto& f : m_files)
        f->close();
    m_files.clear();
}

// --- Keeping tags current

void WorkArea::recordChanged(Table& table, std::uint32_t recno) {
    if (m_resetting || recno == 0 || recno > table.recCount())
        return;
    dropUnkeptTags();
    const bool current = table.recNo() == recno;
    if (!current)
        table.goTo(recno);
    for (auto& open : m_tags) {
        // Before the tag changes: it still holds the record's old key.
        knowKeys(*open);
        if (open->keyOf.size() < table.recCount())
            open->keyOf.resize(table.recCount());
        std::string& old = open->keyOf[recno - 1];
        const bool inTag = !open->condition || open->condition->isTrue();
        if (!inTag) {
            if (!old.empty()) {
                open->tag->erase(old, recno);
                old.clear();
            }
            continue;
        }
        const std::string& key = keyFor(*open);
        if (key == old)
            continue;
        if (!old.empty())
            open->tag->erase(old, recno);
        open->tag->insert(key, recno);
        old = key;
    }
    // The current record may have moved with its key (or out of or into the order): the cursor follows it before
    // the next skip.
    if (current)
        m_cursorStale = true;
    if (!current)
        table.goTo(recNo());
}

void WorkArea::tableReset(Table&) {
    dropUnkeptTags();
    m_resetting = true;
    for (auto& open : m_tags)
        fillTag(*open, {}, 0);
    m_resetting = false;
    goTop();
}

// --- Moving

bool WorkArea::visible() {
    if (m_session.m_deletedHidden && m_table->isDeleted())
        return false;
    if (!m_filter)
        return true;
    // The filter may read related records: they must stand on this record's children first.
    if (!m_relations.empty())
        moveChildren(m_table->eof());
    return m_filter->isTrue();
}

void WorkArea::placeCursor() {
    m_cursorStale = false;
    m_cursorAhead = false;
    if (!m_order || !m_cursor || m_table->eof())
        return;
    const std::uint32_t r = m_table->recNo();
    knowKeys(*m_order);
    if (r <= m_order->keyOf.size() && !m_order->keyOf[r - 1].empty()) {
        m_cursor->seekEntry(m_order->keyOf[r - 1], r);
        return;
    }
    // Not in the tag (its FOR condition is false): seekEntry lands on the next greater entry or past the last.
    m_cursor->seekEntry(keyFor(*m_order), r);
    m_cursorAhead = m_cursor->valid();
}

void WorkArea::setEof() {
    m_cursorStale = false;
    m_cursorAhead = false;
    m_table->goTo(m_table->recCount() + 1);
    m_eof = true;
    if (m_cursor && m_cursor->last())
        m_cursor->next(); // past the last entry
    afterMove();
}

bool WorkArea::onEntry() {
    // An index older than the table may still list records that are gone since.
    const std::uint32_t r = m_cursor->recno();
    if (r == 0 || r > m_table->recCount())
        return false;
    m_table->goTo(r);
    return visible();
}

bool WorkArea::settleOnCursor(int direction) {
    while (m_cursor->valid()) {
        if (onEntry()) {
            m_eof = false;
            afterMove();
            return true;
        }
        if (direction > 0)
            m_cursor->next();
        else
            m_cursor->prev();
    }
    return false;
}

bool WorkArea::settle(int direction) {
    if (m_order) {
        if (settleOnCursor(direction))
            return true;
    } else {
        std::uint32_t r = m_table->recNo();
        while (r >= 1 && r <= m_table->recCount()) {
            m_table->goTo(r);
            if (visible()) {
                m_eof = false;
                afterMove();
                return true;
            }
            r = direction > 0 ? r + 1 : r - 1;
        }
    }
    if (direction > 0) {
        setEof();
        return false;
    }
    // Ran off the top: bof, standing on the first visible record (eof as well when there is none).
    goTop();
    m_bof = true;
    return false;
}

bool WorkArea::goTop() {
    m_bof = false;
    m_cursorStale = false;
    m_cursorAhead = false;
    m_eof = false;
    bool on = false;
    if (m_order && m_cursor->first()) {
        on = settle(+1);
    } else if (!m_order && m_table->recCount() > 0) {
        m_table->goTo(1);
        on = settle(+1);
    } else {
        setEof();
    }
    // A table without a visible record stands at its beginning and at its end at once.
    m_bof = !on;
    return on;
}

bool WorkArea::goBottom() {
    m_bof = false;
    m_cursorStale = false;
    m_cursorAhead = false;
    m_eof = false;
    bool on = false;
    if (m_order) {
        on = m_cursor->last() && settleOnCursor(-1);
    } else {
        for (std::uint32_t r = m_table->recCount(); r >= 1 && !on; --r) {
            m_table->goTo(r);
            on = visible();
        }
        if (on) {
            m_eof = false;
            afterMove();
        }
    }
    if (!on)
        setEof();
    m_bof = !on;
    return on;
}

bool WorkArea::skip(long n) {
    m_bof = false;
    if (m_cursorStale)
        placeCursor();
    if (n < 0)
        m_cursorAhead = false; // prev() from the entry after the record is the entry before it
    for (; n > 0; --n) {
        if (m_eof)
            return false;
        if (m_order) {
            if (!std::exchange(m_cursorAhead, false))
                m_cursor->next();
            if (!settleOnCursor(+1)) {
                setEof();
                return false;
            }
        } else {
            m_table->goTo(m_table->recNo() + 1);
            if (!settle(+1))
                return false;
        }
    }
    for (; n < 0; ++n) {
        if (m_eof) {
            // From past the end, one step back is the last record.
            if (!goBottom())
                return false;
            continue;
        }
        if (m_order) {
            m_cursor->prev();
            if (!settleOnCursor(-1)) {
                goTop();
                m_bof = true;
                return false;
            }
        } else {
            const std::uint32_t r = m_table->recNo();
            if (r <= 1) {
                goTop();
                m_bof = true;
                return false;
            }
            m_table->goTo(r - 1);
            if (!settle(-1))
                return false;
        }
    }
    return !m_eof;
}

bool WorkArea::goTo(std::uint32_t recno) {
    m_bof = false;
    if (recno == 0 || recno > m_table->recCount()) {
        setEof();
        return false;
    }
    m_table->goTo(recno);
    m_eof = false;
    m_cursorStale = true; // placed when a skip needs it
    afterMove();
    return true;
}

bool WorkArea::seek(std::string_view text) {
    m_bof = false;
    m_cursorStale = false;
    m_cursorAhead = false;
    m_found = false;
    if (!m_order) {
        reportError(m_table->path().string(), "Suche ohne Index nicht möglich");
        setEof();
        return false;
    }
    std::string value(text);
    if (m_cursor->seek(value)) {
        while (m_cursor->matches(value)) {
            if (onEntry()) {
                m_eof = false;
                m_found = true;
                afterMove();
                return true;
            }
            m_cursor->next();
        }
    }
    setEof();
    return false;
}

bool WorkArea::seek(const Value& value) {
    if (value.isText())
        return seek(std::string_view(value.asText()));
    if (m_order && m_order->tag->keyType() != keyTypeOf(value.type())) {
        // Its 8-byte form could only ever match by chance.
        reportError(m_table->path().string(), "Suchwert passt nicht zum Typ des Index " + m_order->tag->name());
        m_bof = false;
        m_found = false;
        setEof();
        return false;
    }
    std::string key;
    appendIndexKey(value, key);
    return seek(std::string_view(key));
}

void WorkArea::afterMove() { moveChildren(m_eof); }

void WorkArea::moveChildren(bool atEof) {
    for (auto& rel : m_relations) {
        WorkArea* child = rel->child;
        if (atEof) {
            child->setEof();
            child->m_found = false;
            continue;
        }
        if (!child->m_order && rel->key->resultType() == Value::Type::Number) {
            // Without an order the child follows by record number.
            child->goTo(static_cast<std::uint32_t>(rel->key->evaluate().asNumber()));
            continue;
        }
        rel->key->evaluateKey(m_scratch);
        const std::string key = m_scratch;
        child->seek(std::string_view(key));
    }
}

// --- Filter and relations

bool WorkArea::setFilter(std::string_view condition) {
    if (condition.empty()) {
        m_filter.reset();
        m_filterRefs.clear();
        return true;
    }
    AreaRefs refs;
    auto filter = compile(condition, "Filter", &refs);
    if (!filter)
        return false;
    if (filter->resultType() != Value::Type::Logical) {
        reportError(m_table->path().string(), "Filter ist keine Bedingung: " + std::string(condition));
        return false;
    }
    m_filter = std::move(filter);
    m_filterRefs = std::move(refs);
    return true;
}

bool WorkArea::setRelation(std::string_view keyExpression, std::string_view childAlias) {
    WorkArea* child = m_session.find(childAlias);
    if (!child || child == this) {
        reportError(m_table->path().string(), "Relation: Arbeitsbereich nicht gefunden: " + std::string(childAlias));
        return false;
    }
    // A relation leading back here would make every move of either area follow the other without end.
    if (child->reaches(this)) {
        reportError(m_table->path().string(), "Relation im Kreis: " + child->alias() + " führt zurück zu " + m_alias);
        return false;
    }
    auto rel = std::make_unique<Relation>();
    auto key = compile(keyExpression, "Relationsausdruck", &rel->refs);
    if (!key)
        return false;
    // The child is found by record number without an order, else by seeking the key in its order: a key of
    // another type could never be found.
    const KeyType type = keyTypeOf(key->resultType());
    const CdxTag* childTag = child->controllingTag();
    if (childTag ? childTag->keyType() != type : type != KeyType::Numeric) {
        reportError(m_table->path().string(),
                    "Relation " + std::string(keyExpression) + " in " + child->alias() +
                        (childTag ? ": der Ausdruck passt nicht zum Typ des Index " + childTag->name()
                                  : ": ohne Index ist nur eine Satznummer möglich"));
        return false;
    }
    rel->key = std::move(key);
    rel->child = child;
    m_relations.push_back(std::move(rel));
    afterMove();
    return true;
}

void WorkArea::clearRelations() { m_relations.clear(); }

void WorkArea::forget(const WorkArea* gone) {
    auto reads = [gone](const AreaRefs& refs) { return std::find(refs.begin(), refs.end(), gone) != refs.end(); };
    auto dropped = [&](const std::string& what) {
        reportError(m_table->path().string(),
                    what + " von " + m_alias + " liest den geschlossenen Arbeitsbereich " + gone->alias() +
                        " und gilt nicht mehr");
    };
    if (m_filter && reads(m_filterRefs)) {
        dropped("Filter " + m_filter->text());
        m_filter.reset();
        m_filterRefs.clear();
    }
    std::erase_if(m_relations, [&](const auto& rel) {
        if (rel->child == gone)
            return true;
        if (!reads(rel->refs))
            return false;
        dropped("Relation " + rel->key->text());
        return true;
    });
    std::erase_if(m_tags, [&](const auto& open) {
        if (!reads(open->refs))
            return false;
        dropped("Index-Tag " + open->tag->name());
        if (m_order == open.get()) {
            m_order = nullptr;
            m_cursor.reset();
        }
        // It can no longer follow changes: the first one takes it out of its file.
        m_unkept.emplace_back(open->file, open->tag->name());
        return true;
    });
}

bool WorkArea::reaches(const WorkArea* area) const {
    for (const auto& rel : m_relations)
        if (rel->child == area || rel->child->reaches(area))
            return true;
    return false;
}

// --- Fields and changes

Value WorkArea::value(std::string_view field) const {
    const int index = m_table->fieldIndex(field);
    if (index < 0) {
        reportError(m_table->path().string(), "Feld nicht gefunden: " + std::string(field));
        return {};
    }
    return m_table->fieldValue(index);
}

std::string WorkArea::text(std::string_view field) const {
    Value v = value(field);
    if (!v.isText())
        return {};
    // A memo holds exactly its bytes (a picture may well end in zero bytes); only fixed-width fields are padded.
    const int index = m_table->fieldIndex(field);
    if (index >= 0 && m_table->fieldDef(index).type == FieldType::Memo)
        return v.asText();
    return trimRight(v.asText());
}

double WorkArea::number(std::string_view field) const { return value(field).asNumber(); }

bool WorkArea::logical(std::string_view field) const { return value(field).asLogical(); }

bool WorkArea::appendBlank() {
    if (!m_table->appendBlank())
        return false;
    m_eof = false;
    m_bof = false;
    afterMove();
    return true;
}

bool WorkArea::replace(std::string_view field, const Value& v) {
    const int index = m_table->fieldIndex(field);
    if (index < 0) {
        reportError(m_table->path().string(), "Feld nicht gefunden: " + std::string(field));
        return false;
    }
    return m_table->replace(index, v);
}

bool WorkArea::replaceMemo(std::string_view field, std::string_view bytes, bool binary) {
    const int index = m_table->fieldIndex(field);
    if (index < 0) {
        reportError(m_table->path().string(), "Feld nicht gefunden: " + std::string(field));
        return false;
    }
    return m_table->replaceMemo(index, bytes, binary);
}

bool WorkArea::deleteRecord() { return m_table->deleteRecord(); }
bool WorkArea::recall() { return m_table->recall(); }

bool WorkArea::pack() {
    const bool ok = m_table->pack();
    goTop();
    return ok;
}

bool WorkArea::zap() {
    const bool ok = m_table->zap();
    goTop();
    return ok;
}

bool WorkArea::evaluate(std::string_view expression, Value& result) {
    auto expr = compile(expression, "Ausdruck");
    if (!expr)
        return false;
    result = expr->evaluate();
    return true;
}

// --- Session

namespace {
Session* g_oldestSession = nullptr;
Session* g_newestSession = nullptr;
} // namespace

Session::Session() {
    m_older = g_newestSession;
    if (m_older) m_older->m_newer = this;
    g_newestSession = this;
    if (!g_oldestSession) g_oldestSession = this;
}

Session::~Session() {
    closeAll();
    (m_older ? m_older->m_newer : g_oldestSession) = m_newer;
    (m_newer ? m_newer->m_older : g_newestSession) = m_older;
}

int listOpenAreas(void (*visit)(const AreaListing& area, void* context), void* context) {
    int slot = 0;
    for (const Session* s = g_oldestSession; s; s = s->m_newer) {
        for (const auto& owned : s->m_areas) {
            const WorkArea& a = *owned;
            AreaListing l;
            l.slot = ++slot;
            l.current = s == g_newestSession && s->m_current == &a;
            l.alias = a.m_alias;
            l.file = a.m_table->path().native();
            l.driver = kDriverName;
            l.recNo = a.m_table->recNo();
            l.recCount = a.m_table->recCount();
            l.bof = a.m_bof;
            l.eof = a.m_eof;
            for (const auto& tag : a.m_tags) {
                if (l.orderCount == AreaListing::kMaxOrders) break;
                if (tag->tag->keyExpression().empty()) continue;
                l.orders[l.orderCount++] = {tag->tag->keyExpression(), tag->tag->name(), tag.get() == a.m_order};
            }
            for (const auto& relation : a.m_relations) {
                if (l.relationCount == AreaListing::kMaxRelations) break;
                if (!relation->child) continue;
                l.relations[l.relationCount++] = {relation->key->text(), relation->child->m_alias};
            }
            visit(l, context);
        }
    }
    return slot;
}

WorkArea* Session::use(const std::filesystem::path& dbfPath, std::string_view alias, Table::Mode mode) {
    close(alias);
    auto table = Table::open(dbfPath, mode);
    if (!table)
        return nullptr;
    m_areas.push_back(std::unique_ptr<WorkArea>(new WorkArea(*this, upper(alias), std::move(table))));
    m_current = m_areas.back().get();
    return m_current;
}

WorkArea* Session::create(const std::filesystem::path& dbfPath, std::vector<FieldDef> fields, std::string_view alias,
                          Table::Durability durability) {
    close(alias);
    auto table = Table::create(dbfPath, std::move(fields), durability);
    if (!table)
        return nullptr;
    m_areas.push_back(std::unique_ptr<WorkArea>(new WorkArea(*this, upper(alias), std::move(table))));
    m_current = m_areas.back().get();
    return m_current;
}

WorkArea* Session::find(std::string_view alias) const {
    const std::string wanted = upper(alias);
    for (const auto& a : m_areas)
        if (a->alias() == wanted)
            return a.get();
    return nullptr;
}

WorkArea* Session::select(std::string_view alias) {
    if (WorkArea* a = find(alias))
        m_current = a;
    else
        reportError(std::string(alias), "Arbeitsbereich nicht geöffnet");
    return find(alias);
}

void Session::close(std::string_view alias) {
    WorkArea* victim = find(alias);
    if (!victim)
        return;
    // Relations into the area and expressions that read its fields would point at freed memory.
    for (auto& a : m_areas)
        if (a.get() != victim)
            a->forget(victim);
    if (m_current == victim)
        m_current = nullptr;
    std::erase_if(m_areas, [victim](const auto& a) { return a.get() == victim; });
}

void Session::closeAll() {
    for (auto& a : m_areas)
        a->m_relations.clear();
    m_areas.clear();
    m_current = nullptr;
}

void Session::setVariable(std::string_view name, const Value& value) { m_variables[upper(name)] = value; }

const Value* Session::variable(std::string_view name) const {
    auto it = m_variables.find(upper(name));
    return it == m_variables.end() ? nullptr : &it->second;
}

const RecordView* Session::area(std::string_view alias) const {
    if (alias.empty()) {
        const WorkArea* a = m_compiling ? m_compiling : m_current;
        return a ? &a->table() : nullptr;
    }
    const WorkArea* a = find(alias);
    if (a && m_refs)
        m_refs->push_back(a);
    return a ? &a->table() : nullptr;
}

} // namespace store
