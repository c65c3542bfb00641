#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/cdx.h"
#include "store/expr.h"
#include "store/table.h"

namespace store {

class Session;
struct AreaListing;

// Called every `step` records while a tag is built; returning false stops the build.
using IndexProgress = std::function<bool(std::uint32_t recno, std::uint32_t total)>;

// A table open under an alias, with its index files, controlling order, filter and relations.
// Every move goes through the controlling order (or the physical order when there is none) and skips records the
// filter rejects. Changes made through the area (or directly on its table) keep every open tag current.
class WorkArea : private TableObserver {
public:
    ~WorkArea() override;
    WorkArea(const WorkArea&) = delete;
    WorkArea& operator=(const WorkArea&) = delete;

    const std::string& alias() const { return m_alias; }
    Table& table() { return *m_table; }
    const Table& table() const { return *m_table; }

    // --- Index files and orders
    // Opens an existing compound index file; its tags can then be chosen with setOrder(). The first tag of the first
    // file opened becomes the controlling order when there is none yet.
    bool openIndex(const std::filesystem::path& cdxPath);
    // Builds a tag over every record into the index file (created when missing, the tag replaced when present) and
    // makes it the controlling order. A FOR condition limits the tag to the records for which it is true.
    // progress is called every `step` records (step 0: never); when it returns false the build stops, the tag is not
    // stored and false is returned.
    bool indexOn(std::string_view keyExpression, const std::filesystem::path& cdxPath, std::string_view tagName,
                 std::string_view forCondition = {}, const IndexProgress& progress = {}, std::uint32_t step = 0);
    // Chooses the controlling tag by name; the empty name selects the physical order. The record stays the same.
    bool setOrder(std::string_view tagName);
    const CdxTag* controllingTag() const;
    // Saves and closes every index file of the area; the order becomes physical.
    void closeIndexes();

    // --- Moving
    bool goTop();
    bool goBottom();
    // Moves n records forward (negative: backward) in the current order; stops at eof/bof.
    bool skip(long n = 1);
    // Positions on a physical record number, whatever the order (0 or beyond the count: eof). A record the order
    // does not hold (its FOR condition is false) skips from where its key would stand.
    bool goTo(std::uint32_t recno);
    std::uint32_t recNo() const { return m_table->recNo(); }
    std::uint32_t recCount() const { return m_table->recCount(); }
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }

    // Seeks a value in the controlling tag: text is compared on its own length (a leading part of the key finds the
    // first key that begins with it); numbers and dates are encoded like the tag's keys. Not found: eof, found()
    // false. Without a controlling tag the seek fails with a reported error.
    bool seek(std::string_view text);
    bool seek(const Value& value);
    bool found() const { return m_found; }

    // --- Filter and relations
    // A condition every visible record must meet; the empty text removes it. The record pointer does not move.
    bool setFilter(std::string_view condition);
    // Whenever this area moves, the child area seeks the value of keyExpression (evaluated here) in its order; a
    // child without order goes to the record number the (numeric) key gives. Refused with a reported error when
    // the relation would lead back to this area, or when the key's type does not suit the child's order.
    bool setRelation(std::string_view keyExpression, std::string_view childAlias);
    void clearRelations();

    // --- Fields of the current record
    int fieldIndex(std::string_view name) const { return m_table->fieldIndex(name); }
    Value value(std::string_view field) const;
    // Text of a field without its trailing blanks (memo fields: their bytes).
    std::string text(std::string_view field) const;
    double number(std::string_view field) const;
    bool logical(std::string_view field) const;

    // --- Changes (tags follow through the table's notifications)
    bool appendBlank();
    bool replace(std::string_view field, const Value& value);
    bool replaceMemo(std::string_view field, std::string_view bytes, bool binary);
    bool deleteRecord();
    bool recall();
    bool pack();
    bool zap();

    // Evaluates an expression against this area's current record (for callers that need a one-off value).
    bool evaluate(std::string_view expression, Value& result);

private:
    friend class Session;
    friend int listOpenAreas(void (*)(const AreaListing&, void*), void*);
    struct OpenTag;
    struct Relation;

    WorkArea(Session& session, std::string alias, std::unique_ptr<Table> table);

    void recordChanged(Table& table, std::uint32_t recno) override;
    void tableReset(Table& table) override;

    // Areas an expression reads through ALIAS->FIELD, so that closing one of them can drop what reads it.
    using AreaRefs = std::vector<const WorkArea*>;
    std::unique_ptr<Expression> compile(std::string_view text, const std::string& what, AreaRefs* refs = nullptr);
    KeyType keyTypeOfExpression(const std::string& expression);
    bool prepareTag(OpenTag& tag);
    bool fillTag(OpenTag& tag, const IndexProgress& progress, std::uint32_t step);
    // The keys of every record the tag's condition admits (and tag.keyOf); false when progress stopped it.
    bool collectKeys(OpenTag& tag, CdxKeyList& keys, const IndexProgress& progress, std::uint32_t step);
    // Reads tag.keyOf from the tag, once.
    void knowKeys(OpenTag& tag);
    // Opens every tag of a file but the one named `except` (upper case) that the area can evaluate.
    void adoptTags(CdxFile& file, std::string_view except = {});
    // Removes the tags the area could not evaluate from their files: once a record changes they would be wrong.
    void dropUnkeptTags();
    std::string keyFor(OpenTag& tag);
    bool visible();
    // Lands on the entry or record at hand, or moves on in `direction` (+1/-1) to the next visible one.
    bool settle(int direction);
    // Moves to the cursor's record; true when it exists and is visible.
    bool onEntry();
    bool settleOnCursor(int direction);
    void setEof();
    // Puts the order's cursor on the current record's entry, or where its key would stand when the order lacks it.
    void placeCursor();
    void afterMove();
    // Positions the children of every relation on the current record (or at their end).
    void moveChildren(bool atEof);
    OpenTag* findTag(std::string_view name);
    // Drops the relations into a closed area and the filter, relations and tags whose expressions read it.
    void forget(const WorkArea* gone);
    // Whether the relations of this area lead to the given one, directly or through their children.
    bool reaches(const WorkArea* area) const;

    Session& m_session;
    std::string m_alias;
    std::unique_ptr<Table> m_table;
    std::vector<std::unique_ptr<CdxFile>> m_files;
    std::vector<std::unique_ptr<OpenTag>> m_tags;
    std::vector<std::pair<CdxFile*, std::string>> m_unkept; // tags of open files the area cannot evaluate
    OpenTag* m_order = nullptr;
    std::unique_ptr<CdxTag::Cursor> m_cursor;
    std::unique_ptr<Expression> m_filter;
    AreaRefs m_filterRefs;
    std::vector<std::unique_ptr<Relation>> m_relations;
    bool m_eof = false;
    bool m_bof = false;
    bool m_found = false;
    bool m_resetting = false;
    // The cursor stands on the entry after the current record, which the order does not hold: skip(1) lands there.
    bool m_cursorAhead = false;
    // The cursor may not stand at the current record (after goTo, setOrder or a change of it): skip places it first.
    bool m_cursorStale = false;
    std::string m_scratch;
};

// The name of this engine's table driver, as diagnostics give it.
inline constexpr std::string_view kDriverName = "LWDBF";

// One open work area as diagnostics show it. The views point into the live area and stay valid until it changes.
struct AreaListing {
    static constexpr int kMaxOrders = 15;
    static constexpr int kMaxRelations = 8;
    struct Order {
        std::string_view key, tag;
        bool controlling;
    };
    struct Link {
        std::string_view key, child;
    };
    int slot = 0;         // 1, 2, ... over the open areas of every session, the oldest session first
    bool current = false; // the selected area of the newest session
    std::string_view alias, file, driver;
    std::uint32_t recNo = 0, recCount = 0;
    bool bof = false, eof = false;
    Order orders[kMaxOrders] = {};
    int orderCount = 0;
    Link relations[kMaxRelations] = {};
    int relationCount = 0;
};
// Calls visit for every open area of every live session and returns how many there were. Allocates nothing and
// only reads, so that the handler of a fatal signal can list what the program had open.
int listOpenAreas(void (*visit)(const AreaListing& area, void* context), void* context);

// All work areas of one dialog or run, by alias, and the named values its expressions may use.
class Session : public ExprScope {
public:
    Session();
    ~Session() override;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Opens a table under an alias (an alias in use is closed first) and selects it; nullptr on failure (reported).
    WorkArea* use(const std::filesystem::path& dbfPath, std::string_view alias,
                  Table::Mode mode = Table::Mode::Exclusive);
    // Creates a table, opens it exclusively under the alias and selects it.
    WorkArea* create(const std::filesystem::path& dbfPath, std::vector<FieldDef> fields, std::string_view alias,
                     Table::Durability durability = Table::Durability::Durable);
    WorkArea* find(std::string_view alias) const;
    WorkArea* select(std::string_view alias);
    WorkArea* current() const { return m_current; }
    // Filters, relations and tags of other areas that read the closed area are dropped, each with a reported error.
    void close(std::string_view alias);
    void closeAll();

    // SET DELETED: when on, records marked as deleted are invisible to every move and seek (default off).
    void setDeleted(bool on) { m_deletedHidden = on; }
    bool deletedHidden() const { return m_deletedHidden; }

    // Named values (compared without case), such as NI_THEMA.
    void setVariable(std::string_view name, const Value& value);
    const Value* variable(std::string_view name) const override;
    // ExprScope: the empty alias is the area whose expression is being compiled (else the selected one).
    const RecordView* area(std::string_view alias) const override;

private:
    friend class WorkArea;
    friend int listOpenAreas(void (*)(const AreaListing&, void*), void*);
    // Every live session, oldest first, for listOpenAreas().
    Session* m_older = nullptr;
    Session* m_newer = nullptr;
    std::vector<std::unique_ptr<WorkArea>> m_areas;
    WorkArea* m_current = nullptr;
    const WorkArea* m_compiling = nullptr;
    std::vector<const WorkArea*>* m_refs = nullptr; // collects the areas an expression being compiled reads
    bool m_deletedHidden = false;
    std::map<std::string, Value, std::less<>> m_variables;
};

} // namespace store
