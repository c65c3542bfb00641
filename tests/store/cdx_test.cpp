#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <set>
#include <sstream>

#include <signal.h>
#include <sys/resource.h>

#include "store/cdx.h"
#include "store/error.h"
#include "support/testdir.h"

namespace {

using store::CdxEntry;
using store::CdxFile;
using store::CdxTag;
using store::KeyType;

const std::string kSamples = std::string(LW_SHARED_DIR) + "/formats/samples/";

// Collects what the engine reports while it lives.
class ErrorLog {
public:
    ErrorLog() {
        m_previous = store::setErrorCallback([this](const store::StoreError& e) { errors.push_back(e); });
    }
    ~ErrorLog() { store::setErrorCallback(m_previous); }
    std::vector<store::StoreError> errors;

private:
    store::ErrorCallback m_previous;
};

std::string pad(std::string s, std::size_t n, char fill = ' ') {
    s.resize(n, fill);
    return s;
}

std::uint32_t le32At(const std::string& s, std::size_t at) {
    std::uint32_t v;
    std::memcpy(&v, s.data() + at, 4);
    return v;
}
void putLe32At(std::string& s, std::size_t at, std::uint32_t v) {
    std::memcpy(s.data() + at, &v, 4);
}
std::uint32_t be32At(const std::string& s, std::size_t at) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data() + at);
    return std::uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

// Random keys of two numbers, a date and some text: many share their beginnings.
std::vector<CdxEntry> randomEntries(std::size_t n, unsigned seed, std::size_t keyLength = 28) {
    std::mt19937 rng(seed);
    std::vector<CdxEntry> out;
    for (std::size_t i = 0; i < n; ++i) {
        std::string k = pad(std::to_string(rng() % 50), 5) + pad(std::to_string(rng() % 9), 3) +
                        std::to_string(20240000 + rng() % 400);
        k += std::string(rng() % 6, static_cast<char>('a' + rng() % 26));
        out.push_back({pad(k, keyLength), static_cast<std::uint32_t>(i + 1)});
    }
    return out;
}

std::vector<CdxEntry> sorted(std::vector<CdxEntry> v) {
    std::sort(v.begin(), v.end(),
              [](const CdxEntry& a, const CdxEntry& b) { return a.key != b.key ? a.key < b.key : a.recno < b.recno; });
    return v;
}

TEST(CdxKeys, NumbersAndDatesSortAsBytesInNumericOrder) {
    const std::vector<double> ascending{-1e9, -12.5, -1.0, -0.25, 0.0, 0.25, 1.0, 12.5, 2460448.0, 1e12};
    for (std::size_t i = 0; i + 1 < ascending.size(); ++i)
        EXPECT_LT(store::encodeNumberKey(ascending[i]), store::encodeNumberKey(ascending[i + 1])) << ascending[i];
    for (double d : ascending)
        EXPECT_EQ(store::decodeNumberKey(store::encodeNumberKey(d)), d);
    EXPECT_EQ(store::encodeNumberKey(-0.0), store::encodeNumberKey(0.0));
    EXPECT_EQ(store::encodeNumberKey(0.0), std::string("\x80\0\0\0\0\0\0\0", 8));
    EXPECT_EQ(store::encodeNumberKey(1.0), std::string("\xBF\xF0\0\0\0\0\0\0", 8));
    EXPECT_EQ(store::encodeNumberKey(-1.0), std::string("\x40\x0F\xFF\xFF\xFF\xFF\xFF\xFF", 8));
    // 2024-05-17 as a Julian day number
    EXPECT_EQ(store::encodeKey(store::Value::date(2460448), KeyType::Date, 8),
              std::string("\xC1\x42\xC5\x90\0\0\0\0", 8));
    EXPECT_LT(store::encodeKey(store::Value::date(0), KeyType::Date, 8),
              store::encodeKey(store::Value::date(2460448), KeyType::Date, 8));
}

TEST(CdxKeys, TextIsPaddedOrCutAndLogicalsAreLetters) {
    EXPECT_EQ(store::encodeKey(store::Value::text("Bay"), KeyType::Character, 6), "Bay   ");
    EXPECT_EQ(store::encodeKey(store::Value::text("Vorfahrt"), KeyType::Character, 4), "Vorf");
    EXPECT_EQ(store::encodeKey(store::Value::text("\xE4rger"), KeyType::Character, 5), "\xE4rger");
    EXPECT_EQ(store::encodeKey(store::Value::logical(true), KeyType::Logical, 1), "T");
    EXPECT_EQ(store::encodeKey(store::Value::logical(false), KeyType::Logical, 1), "F");
    EXPECT_EQ(store::keyFillByte(KeyType::Character), ' ');
    EXPECT_EQ(store::keyFillByte(KeyType::Numeric), '\0');
}

TEST(CdxTag, BuildOrdersByKeyThenRecordAndDropsRepeats) {
    CdxTag tag("T", "NAME", "", KeyType::Character, 4);
    tag.build({{"b", 9}, {"a", 7}, {"b", 2}, {"a   ", 3}, {"b", 2}, {"ab", 1}});
    std::vector<CdxEntry> want{{"a   ", 3}, {"a   ", 7}, {"ab  ", 1}, {"b   ", 2}, {"b   ", 9}};
    EXPECT_EQ(tag.entries(), want);

    CdxTag unique("U", "NAME", "", KeyType::Character, 4, true);
    unique.build({{"b", 9}, {"a", 7}, {"b", 2}, {"a", 3}});
    EXPECT_EQ(unique.entries(), (std::vector<CdxEntry>{{"a   ", 3}, {"b   ", 2}}));
    EXPECT_FALSE(unique.insert("a", 1)) << "a unique tag keeps the entry it has";
    EXPECT_TRUE(unique.insert("c", 1));
    EXPECT_TRUE(unique.erase("a", 3));
    EXPECT_TRUE(unique.insert("a", 1)) << "once the holder is gone another record may take the key";
}

TEST(CdxTag, InsertAndEraseKeepOrderAgainstAModel) {
    CdxTag tag("T", "K", "", KeyType::Character, 6);
    std::set<std::pair<std::string, std::uint32_t>> model;
    std::mt19937 rng(7);
    for (int step = 0; step < 40000; ++step) {
        std::string key = pad(std::to_string(rng() % 300), 6);
        std::uint32_t recno = rng() % 50 + 1;
        bool present = model.count({key, recno}) != 0;
        if (rng() % 3 == 0) {
            EXPECT_EQ(tag.erase(key, recno), present);
            model.erase({key, recno});
        } else {
            EXPECT_EQ(tag.insert(key, recno), !present);
            model.insert({key, recno});
        }
        if (step == 30000) { // empty most of it, so that blocks thin out and merge
            for (auto it = model.begin(); it != model.end();) {
                if (rng() % 10 != 0) {
                    ASSERT_TRUE(tag.erase(it->first, it->second));
                    it = model.erase(it);
                } else {
                    ++it;
                }
            }
        }
    }
    ASSERT_EQ(tag.size(), model.size());
    auto it = model.begin();
    auto c = tag.cursor();
    for (c.first(); c.valid(); c.next(), ++it) {
        ASSERT_EQ(c.key(), it->first);
        ASSERT_EQ(c.recno(), it->second);
    }
    EXPECT_TRUE(it == model.end());
    auto rit = model.rbegin();
    for (c.last(); c.valid(); c.prev(), ++rit)
        ASSERT_EQ(c.recno(), rit->second);
    EXPECT_TRUE(rit == model.rend());
    EXPECT_TRUE(c.atBegin());
}

TEST(CdxTag, SeekFindsExactAndLeadingPartsAndOtherwiseTheNextGreaterKey) {
    CdxTag tag("T", "STR(RICHTIG)+STR(ANTWORTEN)", "", KeyType::Character, 10);
    tag.build({{"    3    7", 4}, {"    3    7", 2}, {"    3    9", 1}, {"   12    1", 3}, {"    5    0", 5}});
    auto c = tag.cursor();
    EXPECT_TRUE(c.seek("    3    7"));
    EXPECT_TRUE(c.matches("    3    7"));
    EXPECT_EQ(c.recno(), 2u) << "the lowest record number of equal keys comes first";
    EXPECT_TRUE(c.seek("    3"));
    EXPECT_TRUE(c.matches("    3"));
    EXPECT_EQ(c.recno(), 2u);
    EXPECT_TRUE(c.seek("    4")) << "not found: on the next greater key";
    EXPECT_FALSE(c.matches("    4"));
    EXPECT_EQ(c.key(), "    5    0");
    EXPECT_TRUE(c.seek("    3    7 and more than the key")) << "a longer value is cut to the key length";
    EXPECT_EQ(c.recno(), 2u);
    EXPECT_FALSE(c.seek("X"));
    EXPECT_TRUE(c.atEnd());
    EXPECT_FALSE(c.matches("X"));
    EXPECT_TRUE(c.prev()) << "from past the end, back to the last entry";
    EXPECT_EQ(c.key(), "   12    1") << "right-aligned numbers of one width sort by value";
    EXPECT_TRUE(CdxTag::isPrefixMatch("Bay  1    ", "Bay"));
    EXPECT_TRUE(CdxTag::isPrefixMatch("Bay  1    ", ""));
    EXPECT_FALSE(CdxTag::isPrefixMatch("Bay  1    ", "Bay  2"));

    CdxTag numbers("N", "PUNKTE", "", KeyType::Numeric, 8);
    for (int v : {-3, 0, 8, 2})
        numbers.insert(store::encodeNumberKey(v), static_cast<std::uint32_t>(v + 10));
    auto n = numbers.cursor();
    EXPECT_TRUE(n.seek(store::encodeNumberKey(1)));
    EXPECT_EQ(n.recno(), 12u);
    EXPECT_TRUE(n.seek(store::encodeNumberKey(-3)));
    EXPECT_TRUE(n.matches(store::encodeNumberKey(-3)));
}

TEST(CdxTag, CursorFollowsItsEntryThroughChangesAndStandsInTheGapWhenItGoes) {
    CdxTag tag("T", "K", "", KeyType::Character, 3);
    std::vector<CdxEntry> many;
    for (std::uint32_t i = 1; i <= 3000; ++i)
        many.push_back({pad(std::to_string(i % 700), 3), i});
    tag.build(many);
    auto c = tag.cursor();
    ASSERT_TRUE(c.seekEntry("500", 1200));
    for (std::uint32_t i = 1; i <= 500; ++i)
        tag.insert("1", 5000 + i); // moves everything after it, splits blocks
    EXPECT_EQ(c.key(), "500");
    EXPECT_EQ(c.recno(), 1200u);

    ASSERT_TRUE(tag.erase("500", 1200));
    EXPECT_TRUE(c.valid());
    EXPECT_EQ(c.recno(), 1900u) << "shows the following entry";
    auto d = c;
    EXPECT_TRUE(c.next());
    EXPECT_EQ(c.recno(), 1900u) << "next() from the gap goes to the following entry, not past it";
    EXPECT_TRUE(d.prev());
    EXPECT_EQ(d.key(), "500");
    EXPECT_EQ(d.recno(), 500u);

    const auto all = tag.entries();
    ASSERT_TRUE(c.last());
    EXPECT_EQ(c.recno(), all.back().recno);
    tag.erase(all.back().key, all.back().recno);
    EXPECT_TRUE(c.atEnd());
    EXPECT_TRUE(c.prev());
    EXPECT_EQ(c.key(), all[all.size() - 2].key);
    EXPECT_EQ(c.recno(), all[all.size() - 2].recno);

    EXPECT_FALSE(c.seekEntry("500", 1200));
    EXPECT_EQ(c.recno(), 1900u);
    tag.clear();
    EXPECT_FALSE(c.valid());
    EXPECT_FALSE(c.first());
}

// ---------------------------------------------------------------------------------------------------------------
// Files

struct TagDef {
    std::string name, key, forExpr;
    KeyType type;
    int length;
    bool unique, descending;
    std::vector<CdxEntry> entries;
};

std::vector<TagDef> sampleTags() {
    std::vector<TagDef> defs;
    defs.push_back({"EMPTY", "NAME", "", KeyType::Character, 20, false, false, {}});
    defs.push_back({"ONE", "UPPER(NAME)", "", KeyType::Character, 20, false, true, {{pad("EINE", 20), 1}}});
    defs.push_back({"FEW",
                    "KIND",
                    "KIND=\"B\"",
                    KeyType::Character,
                    5,
                    false,
                    false,
                    {{"A    ", 3}, {"B    ", 1}, {"B    ", 2}, {"     ", 4}, {"Bb   ", 5}}});
    defs.push_back(
        {"BIG", "STR(A)+STR(B)+DATUM+NAME", "", KeyType::Character, 28, false, false, randomEntries(50000, 3)});
    defs.push_back({"UNI", "KIND", "", KeyType::Character, 5, true, false, {{"A    ", 3}, {"B    ", 1}}});
    std::vector<CdxEntry> numbers;
    for (int i = -300; i <= 300; i += 7)
        numbers.push_back({store::encodeNumberKey(i / 4.0), static_cast<std::uint32_t>(i + 301)});
    defs.push_back({"PUNKTE", "PUNKTE", "", KeyType::Numeric, 8, false, false, numbers});
    return defs;
}

KeyType typeOfSampleKey(const std::string& key) {
    return key == "PUNKTE" ? KeyType::Numeric : KeyType::Character;
}

void writeSample(const std::string& path, const std::vector<TagDef>& defs) {
    auto file = CdxFile::create(path);
    ASSERT_TRUE(file);
    for (const auto& d : defs) {
        CdxTag* t = file->addTag(d.name, d.key, d.forExpr, d.type, d.length, d.unique, d.descending);
        ASSERT_TRUE(t);
        t->build(d.entries);
    }
    ASSERT_TRUE(file->save());
}

TEST(CdxFile, WrittenTagsReadBackWithTheirDefinitionsAndEntries) {
    lwtest::TempDir dir;
    const std::string path = dir / "quiz.cdx";
    auto defs = sampleTags();
    writeSample(path, defs);

    auto file = CdxFile::open(path, typeOfSampleKey);
    ASSERT_TRUE(file);
    auto tags = file->tags();
    ASSERT_EQ(tags.size(), defs.size());
    for (std::size_t i = 0; i < defs.size(); ++i) {
        SCOPED_TRACE(defs[i].name);
        EXPECT_EQ(tags[i]->name(), defs[i].name) << "creation order";
        EXPECT_EQ(tags[i]->keyExpression(), defs[i].key);
        EXPECT_EQ(tags[i]->forExpression(), defs[i].forExpr);
        EXPECT_EQ(tags[i]->keyLength(), defs[i].length);
        EXPECT_EQ(tags[i]->unique(), defs[i].unique);
        EXPECT_EQ(tags[i]->descending(), defs[i].descending);
        EXPECT_EQ(tags[i]->keyType(), defs[i].type);
        EXPECT_EQ(tags[i]->entries(), sorted(defs[i].entries));
    }
    EXPECT_FALSE(file->isDirty());

    // The big tag really has several levels: its root is an interior node, and so is the root's first child.
    const std::string bytes = lwtest::readFile(path);
    std::uint32_t header = 0x600 + 3 * 0x600; // after three tags of a header and one leaf each
    ASSERT_EQ(bytes.substr(header + 512, 24), "STR(A)+STR(B)+DATUM+NAME");
    std::uint32_t root = le32At(bytes, header);
    EXPECT_EQ(bytes[root], 1) << "root, not a leaf";
    std::uint32_t child = be32At(bytes, root + 12 + 28 + 4);
    EXPECT_EQ(bytes[child], 0) << "interior below the root";
}

TEST(CdxFile, TagsAreAddedReplacedRemovedAndChangesAreSavedOnClose) {
    lwtest::TempDir dir;
    const std::string path = dir / "t.cdx";
    {
        auto file = CdxFile::create(path);
        ASSERT_TRUE(file);
        EXPECT_FALSE(file->isDirty());
        file->addTag("first", "A", "", KeyType::Character, 4)->insert("x", 1);
        file->addTag("SECOND", "B", "", KeyType::Character, 4);
        file->addTag("Third", "C", "", KeyType::Character, 4);
        CdxTag* again = file->addTag("FIRST", "A2", "", KeyType::Character, 6);
        ASSERT_TRUE(again);
        EXPECT_TRUE(again->empty());
        EXPECT_EQ(file->tag("first"), again);
        EXPECT_TRUE(file->removeTag("second"));
        EXPECT_FALSE(file->removeTag("second"));
        again->insert("abc", 9);
    } // the destructor saves
    auto file = CdxFile::open(path);
    ASSERT_TRUE(file);
    ASSERT_EQ(file->tags().size(), 2u);
    EXPECT_EQ(file->tags()[0]->name(), "FIRST") << "a replaced tag keeps its place";
    EXPECT_EQ(file->tags()[0]->keyExpression(), "A2");
    EXPECT_EQ(file->tags()[0]->entries(), (std::vector<CdxEntry>{{"abc   ", 9}}));
    EXPECT_EQ(file->tags()[1]->name(), "THIRD");

    file->tag("third")->insert("q", 3);
    EXPECT_TRUE(file->isDirty()) << "a change through the tag is noticed";
    EXPECT_TRUE(file->close());
    auto reopened = CdxFile::open(path);
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened->tag("THIRD")->size(), 1u);
}

TEST(CdxFile, RefusesDefinitionsItCannotStoreAndKeepsTheOldFileWhenWritingFails) {
    lwtest::TempDir dir;
    const std::string path = dir / "t.cdx";
    auto file = CdxFile::create(path);
    ASSERT_TRUE(file);
    ErrorLog log;
    EXPECT_FALSE(file->addTag("ELEVENCHARS", "A", "", KeyType::Character, 4));
    EXPECT_FALSE(file->addTag("1ST", "A", "", KeyType::Character, 4));
    EXPECT_FALSE(file->addTag("A", "A", "", KeyType::Character, 241));
    EXPECT_FALSE(file->addTag("A", "A", "", KeyType::Numeric, 10));
    EXPECT_FALSE(file->addTag("A", std::string(400, 'A'), std::string(120, 'B'), KeyType::Character, 4));
    EXPECT_EQ(log.errors.size(), 5u);
    EXPECT_TRUE(file->tags().empty());

    // A full disk: writing stops at a size limit, so the new file cannot be completed.
    const std::string before = lwtest::readFile(path);
    file->addTag("A", "A", "", KeyType::Character, 28)->build(randomEntries(3000, 1));
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 8192;
    auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    bool saved = file->save();
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved);
    ASSERT_EQ(log.errors.size(), 6u);
    EXPECT_NE(log.errors[5].message.find("t.cdx"), std::string::npos);
    EXPECT_EQ(lwtest::readFile(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary file left";
    EXPECT_TRUE(file->isDirty());
    EXPECT_TRUE(file->save());
    file.reset();
    auto reopened = CdxFile::open(path);
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened->tag("A")->size(), 3000u);
    EXPECT_FALSE(CdxFile::create((dir / "missing" / "x.cdx").string()));
}

// Names in another order than their creation.
std::string tagName(int i) {
    return std::string("T").append(std::to_string(i * 7919 % 1000));
}

TEST(CdxFile, ManyTagsNeedADirectoryOfSeveralNodes) {
    lwtest::TempDir dir;
    const std::string path = dir / "many.cdx";
    {
        auto file = CdxFile::create(path);
        for (int i = 0; i < 120; ++i) {
            file->addTag(tagName(i), "F", "", KeyType::Character, 3)->insert(std::to_string(i), 1);
        }
    }
    auto file = CdxFile::open(path);
    ASSERT_TRUE(file);
    ASSERT_EQ(file->tags().size(), 120u);
    for (int i = 0; i < 120; ++i) {
        EXPECT_EQ(file->tags()[i]->name(), tagName(i));
        EXPECT_EQ(file->tags()[i]->entries().at(0).key, pad(std::to_string(i), 3));
    }
}

// From an empty tag to trees many levels deep (long keys leave room for few per node), with keys that are all
// distinct, share leading bytes, end in blanks or hold any byte: written, read, changed and written again.
TEST(CdxFile, TreesOfEveryDepthReadBackAfterChanges) {
    lwtest::TempDir dir;
    ErrorLog log;
    for (int length : {1, 8, 12, 100, 240}) {
        for (int kind = 0; kind < 3; ++kind) {
            for (std::size_t n : {0u, 1u, 2u, 3u, 31u, 61u, 250u, 2000u}) {
                SCOPED_TRACE("length " + std::to_string(length) + ", kind " + std::to_string(kind) + ", " +
                             std::to_string(n) + " entries");
                std::mt19937 rng(static_cast<unsigned>(n * 7 + length + kind * 1000));
                std::vector<CdxEntry> entries;
                for (std::size_t i = 0; i < n; ++i) {
                    std::string key(static_cast<std::size_t>(length), kind == 2 ? '\0' : ' ');
                    const int used = kind == 0 ? length : static_cast<int>(rng() % (length + 1));
                    for (int j = 0; j < used; ++j)
                        key[j] = kind == 2 ? static_cast<char>(rng() % 256) : static_cast<char>('a' + rng() % 3);
                    entries.push_back({key, static_cast<std::uint32_t>(rng() % 100000 + 1)});
                }
                const std::string path = dir / "depth.cdx";
                auto file = CdxFile::create(path);
                ASSERT_TRUE(file);
                CdxTag* tag = file->addTag("T", "K", "", KeyType::Character, length);
                tag->build(entries);
                ASSERT_TRUE(file->save());
                const auto written = tag->entries();
                file.reset();

                file = CdxFile::open(path);
                ASSERT_TRUE(file);
                tag = file->tags().at(0);
                ASSERT_EQ(tag->entries(), written);
                for (int i = 0; i < 50 && !written.empty(); ++i) {
                    const CdxEntry& e = written[rng() % written.size()];
                    tag->erase(e.key, e.recno);
                    tag->insert(e.key, e.recno + 200000);
                }
                const auto changed = tag->entries();
                ASSERT_TRUE(file->save());
                file.reset();
                file = CdxFile::open(path);
                ASSERT_TRUE(file);
                ASSERT_EQ(file->tags().at(0)->entries(), changed);
            }
        }
    }
    EXPECT_TRUE(log.errors.empty());
}

// ---------------------------------------------------------------------------------------------------------------
// FoxPro's own file

TEST(CdxFoxPro, RoomsIndexReadsWithItsTagsExpressionsAndOrder) {
    if (!std::filesystem::exists(kSamples + "rooms.cdx"))
        GTEST_SKIP() << "no shared sample files beside this clone: " << kSamples;
    auto file = CdxFile::open(kSamples + "rooms.cdx");
    ASSERT_TRUE(file);
    std::vector<std::string> names;
    for (auto* t : file->tags())
        names.push_back(t->name());
    EXPECT_EQ(names, (std::vector<std::string>{"ROOMNAME", "FACILITY", "AUDIO", "MAIN", "FILM"}));
    CdxTag* audio = file->tag("audio");
    ASSERT_TRUE(audio);
    EXPECT_EQ(audio->keyExpression(), "roomname");
    EXPECT_EQ(audio->forExpression(), "TRIM(UPPER(facility))==\"AUDIO\"");
    EXPECT_EQ(file->tag("ROOMNAME")->forExpression(), "");
    for (auto* t : file->tags())
        EXPECT_EQ(t->keyLength(), 10);
    auto room = file->tag("ROOMNAME")->entries();
    ASSERT_EQ(room.size(), 42u);
    EXPECT_EQ(room[0], (CdxEntry{pad("", 10), 42}));
    EXPECT_EQ(room[1], (CdxEntry{pad(" None", 10), 1}));
    EXPECT_EQ(room[2], (CdxEntry{pad("ADR-Foley", 10), 23}));

    std::string perl;
    if (lwtest::runCommand("command -v index_dump", &perl) != 0)
        GTEST_SKIP() << "index_dump (libdbd-xbase-perl) missing";
    for (auto* t : file->tags()) {
        std::string dump;
        ASSERT_EQ(lwtest::runCommand("index_dump -type=char '" + kSamples + "rooms.cdx' " + t->name(), &dump), 0);
        std::ostringstream ours;
        for (const auto& e : t->entries())
            ours << e.key << ' ' << e.recno << '\n';
        // Perl shows the keys of the unfiltered tags without their trailing blanks.
        std::string mine = ours.str(), theirs = dump;
        auto squeeze = [](std::string s) {
            std::string out;
            for (char c : s)
                if (c != ' ') out += c;
            return out;
        };
        EXPECT_EQ(squeeze(mine), squeeze(theirs)) << t->name();
    }
}

TEST(CdxFoxPro, OurWriterReproducesFoxProsLeavesFromTheSameEntries) {
    if (!std::filesystem::exists(kSamples + "rooms.cdx"))
        GTEST_SKIP() << "no shared sample files beside this clone: " << kSamples;
    lwtest::TempDir dir;
    const std::string copy = dir / "rooms.cdx";
    const std::string original = lwtest::readFile(kSamples + "rooms.cdx");
    lwtest::writeFile(copy, original);
    {
        auto file = CdxFile::open(copy);
        ASSERT_TRUE(file);
        file->setDirty();
        ASSERT_TRUE(file->save());
    }
    const std::string ours = lwtest::readFile(copy);
    // FoxPro's file holds an orphaned header of an earlier FILM at 0x1800; ours packs the tags in creation order.
    const std::vector<std::pair<std::string, std::uint32_t>> theirHeaders{
        {"ROOMNAME", 0x600}, {"FACILITY", 0xC00}, {"AUDIO", 0x1200}, {"MAIN", 0x1E00}, {"FILM", 0x2400}};
    for (std::size_t i = 0; i < theirHeaders.size(); ++i) {
        const auto& [name, theirHeader] = theirHeaders[i];
        SCOPED_TRACE(name);
        const std::uint32_t ourHeader = 0x600 + 0x600 * static_cast<std::uint32_t>(i);
        std::uint32_t theirRoot = le32At(original, theirHeader), ourRoot = le32At(ours, ourHeader);
        EXPECT_EQ(ours.substr(ourRoot, 512), original.substr(theirRoot, 512));
        // Header bytes 16..35 hold figures of FoxPro's own that we leave zero; the rest must agree.
        EXPECT_EQ(ours.substr(ourHeader + 12, 4), original.substr(theirHeader + 12, 4));
        EXPECT_EQ(ours.substr(ourHeader + 36, 988), original.substr(theirHeader + 36, 988));
    }
}

// ---------------------------------------------------------------------------------------------------------------
// Damaged files

class CdxDamage : public ::testing::Test {
protected:
    void SetUp() override {
        path = dir / "d.cdx";
        auto file = CdxFile::create(path);
        CdxTag* t = file->addTag("NAME", "NAME", "", KeyType::Character, 28);
        t->build(randomEntries(3000, 11));
        ASSERT_TRUE(file->save());
        good = lwtest::readFile(path);
        root = le32At(good, 0x600);
        ASSERT_EQ(good[root], 1) << "the sample needs an interior root";
    }
    // Opens the damaged image: it must fail with one error naming the file; returns that error.
    std::string openDamaged(const std::string& image) {
        lwtest::writeFile(path, image);
        ErrorLog log;
        auto file = CdxFile::open(path);
        EXPECT_FALSE(file);
        EXPECT_EQ(log.errors.size(), 1u);
        if (log.errors.size() != 1) return {};
        EXPECT_NE(log.errors[0].message.find("d.cdx"), std::string::npos);
        return log.errors[0].message;
    }
    lwtest::TempDir dir;
    std::string path, good;
    std::uint32_t root = 0;
    static constexpr std::uint32_t firstLeaf = 0xA00, secondLeaf = 0xC00;
};

TEST_F(CdxDamage, BrokenNodesAreReportedOnce) {
    struct Case {
        const char* expect;
        std::function<void(std::string&)> damage;
    };
    const std::uint32_t firstChild = root + 12 + 28 + 4;
    std::vector<Case> cases{
        {"Attribut", [&](std::string& s) { s[root] = 7; }},
        {"mehr als hineinpassen", [&](std::string& s) { s[firstLeaf + 2] = static_cast<char>(200); }},
        {"nicht hineinpassen", [&](std::string& s) { s[root + 2] = 60; }},
        {"begrenzt die Schlüssel", [&](std::string& s) { s[root + 12] = 0x01; }}, // first separator below its child's keys
        {"außerhalb der Datei", [&](std::string& s) { putLe32At(s, firstChild, 0x00000001); }}, // 16 MB, big-endian
        {"512-Byte-Grenze", [&](std::string& s) { s[firstChild + 3] = 3; }},
        {"zweimal erreicht",
         [&](std::string& s) {
             std::uint32_t r = root;
             s[firstChild] = static_cast<char>(r >> 24), s[firstChild + 1] = static_cast<char>(r >> 16),
             s[firstChild + 2] = static_cast<char>(r >> 8), s[firstChild + 3] = static_cast<char>(r);
         }},
        {"verkettet", [&](std::string& s) { putLe32At(s, firstLeaf + 8, firstLeaf); }},
        {"verkettet", [&](std::string& s) { putLe32At(s, secondLeaf + 4, 0xFFFFFFFF); }},
        {"Eintragsbreiten", [&](std::string& s) { s[firstLeaf + 23] = 9; }},
        {"unmöglichen Eintrag", [&](std::string& s) { s[firstLeaf + 24 + 2] = static_cast<char>(0xFF); }},
        {"außer der Reihe",
         [&](std::string& s) {
             // the first stored byte of the leaf's newest key, made smaller than its predecessor's
             auto* p = reinterpret_cast<const unsigned char*>(s.data() + firstLeaf);
             std::size_t keysStart = 24 + (p[2] | p[3] << 8) * p[23] + (p[12] | p[13] << 8);
             s[firstLeaf + keysStart] = 0x01;
         }},
        {"außerhalb der Datei", [&](std::string& s) { s.resize(root); }},
        {"zu kurz", [&](std::string& s) { s.resize(700); }},
        {"Kopf des Tags", [&](std::string& s) { s.resize(0x700); }},
        {"Ausdrücke", [&](std::string& s) { s[0x600 + 511] = 0x02; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expect);
        std::string image = good;
        c.damage(image);
        std::string message = openDamaged(image);
        EXPECT_NE(message.find(c.expect), std::string::npos) << message;
    }
}

TEST_F(CdxDamage, KeyBytesRunningIntoTheEntriesAreCaught) {
    // Count more entries than the leaf has, just as many as still fit into its free space: the first extra entry,
    // read from the zero gap, claims 28 stored key bytes that are not there.
    std::string image = good;
    auto* p = reinterpret_cast<unsigned char*>(image.data() + firstLeaf);
    int count = p[2] | p[3] << 8, eb = p[23], free = p[12] | p[13] << 8;
    int more = count + std::max(1, free / eb);
    p[2] = static_cast<unsigned char>(more), p[3] = static_cast<unsigned char>(more >> 8);
    std::string message = openDamaged(image);
    EXPECT_NE(message.find("überlappen"), std::string::npos) << message;
}

TEST_F(CdxDamage, RandomlyDamagedFilesNeverCrashTheReader) {
    std::mt19937 rng(99);
    int rejected = 0;
    for (int round = 0; round < 1500; ++round) {
        std::string image = good;
        int flips = 1 + rng() % 6;
        for (int i = 0; i < flips; ++i) {
            // aim mostly at headers and node headers, where the structure lives
            std::size_t page = rng() % (image.size() / 512);
            std::size_t at = page * 512 + (rng() % 2 ? rng() % 32 : rng() % 512);
            image[at] = static_cast<char>(rng());
        }
        if (rng() % 10 == 0) image.resize(rng() % image.size());
        lwtest::writeFile(path, image);
        ErrorLog log;
        auto file = CdxFile::open(path);
        EXPECT_EQ(log.errors.size(), file ? 0u : 1u);
        rejected += file ? 0 : 1;
    }
    EXPECT_GT(rejected, 100);
}

// ---------------------------------------------------------------------------------------------------------------
// Perl's XBase reads what we write

// A dBASE III table with ID N(6,0), NAME C(28), KIND C(5).
std::string dbfImage(const std::vector<std::pair<std::string, std::string>>& rows) {
    const std::vector<std::tuple<std::string, char, int>> fields{{"ID", 'N', 6}, {"NAME", 'C', 28}, {"KIND", 'C', 5}};
    const int headerLength = 32 + 32 * static_cast<int>(fields.size()) + 1, recordLength = 1 + 6 + 28 + 5;
    std::string out(32, '\0');
    out[0] = 0x03;
    out[1] = 124, out[2] = 5, out[3] = 17;
    putLe32At(out, 4, static_cast<std::uint32_t>(rows.size()));
    out[8] = static_cast<char>(headerLength & 0xFF), out[9] = static_cast<char>(headerLength >> 8);
    out[10] = static_cast<char>(recordLength);
    for (const auto& [name, type, length] : fields) {
        std::string f(32, '\0');
        f.replace(0, name.size(), name);
        f[11] = type;
        f[16] = static_cast<char>(length);
        out += f;
    }
    out += '\x0D';
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::string id = std::to_string(i + 1);
        out.append(1, ' ').append(6 - id.size(), ' ').append(id);
        out.append(pad(rows[i].first, 28)).append(pad(rows[i].second, 5));
    }
    out += '\x1A';
    return out;
}

TEST(CdxCrossCheck, PerlXBaseReadsOurTagsInOurOrder) {
    std::string where;
    if (lwtest::runCommand("perl -MXBase -MXBase::Index -e 1 2>/dev/null") != 0)
        GTEST_SKIP() << "Perl XBase (libdbd-xbase-perl) missing";
    lwtest::TempDir dir;
    std::vector<std::pair<std::string, std::string>> rows;
    std::mt19937 rng(5);
    for (const auto& e : randomEntries(20000, 8))
        rows.push_back({e.key, std::string(1, "ABC"[rng() % 3])});
    lwtest::writeFile(dir / "quiz.dbf", dbfImage(rows));
    {
        auto file = CdxFile::create(dir / "quiz.cdx");
        CdxTag* name = file->addTag("NAME", "NAME", "", KeyType::Character, 28);
        CdxTag* kind = file->addTag("KIND_B", "NAME", "KIND=\"B\"", KeyType::Character, 28);
        CdxTag* uni = file->addTag("KIND", "KIND", "", KeyType::Character, 5, true);
        CdxTag* id = file->addTag("ID", "ID", "", KeyType::Numeric, 8, false, true);
        store::CdxKeyList names(*name), bs(*kind), kinds(*uni), ids(*id);
        for (std::uint32_t r = 1; r <= rows.size(); ++r) {
            names.add(rows[r - 1].first, r);
            if (rows[r - 1].second == "B") bs.add(rows[r - 1].first, r);
            kinds.add(rows[r - 1].second, r);
            ids.add(store::encodeNumberKey(r), r);
        }
        name->build(std::move(names));
        kind->build(std::move(bs));
        uni->build(std::move(kinds));
        id->build(std::move(ids));
    }
    auto file = CdxFile::open(dir / "quiz.cdx",
                              [](const std::string& k) { return k == "ID" ? KeyType::Numeric : KeyType::Character; });
    ASSERT_TRUE(file);
    const std::string script = R"(
use strict; use XBase; use XBase::Index;
my ($dbf, $cdx, @tags) = @ARGV;
my $table = XBase->new($dbf) or die XBase->errstr;
for my $wanted (@tags) {
    my ($tag, $type) = split /:/, $wanted;
    my $index = XBase::Index->new($cdx, tag => $tag, type => $type) or die XBase::Index->errstr;
    print "$tag|$index->{key_string}|$index->{for_string}|$index->{key_length}|$index->{index_options}\n";
    my $cursor = $table->prepare_select_with_index([$cdx, $tag], 'ID') or die $table->errstr;
    my @ids;
    while (my @row = $cursor->fetch) { push @ids, $row[0] + 0; }
    print join(',', @ids), "\n";
}
# Seeks descend through the interior nodes, so they check the separator keys too.
open my $seeks, '<', 'seeks.txt' or die;
while (my $line = <$seeks>) {
    chomp $line;
    my ($tag, $value) = split /\t/, $line, 2;
    my $cursor = $table->prepare_select_with_index([$cdx, $tag], 'ID') or die $table->errstr;
    $cursor->find_eq($value);
    my @row = $cursor->fetch;
    print "$tag $value => ", (@row ? $row[0] + 0 : '-'), "\n";
}
)";
    lwtest::writeFile(dir / "check.pl", script);
    std::ostringstream seeks, found;
    auto names = file->tag("NAME")->entries();
    auto byName = file->tag("NAME")->cursor();
    for (std::size_t i = 0; i < names.size(); i += names.size() / 25) {
        std::string value = names[i].key.substr(0, names[i].key.find_last_not_of(' ') + 1);
        ASSERT_TRUE(byName.seek(value));
        seeks << "NAME\t" << value << '\n';
        found << "NAME " << value << " => " << byName.recno() << '\n';
    }
    seeks << "NAME\t~\n";
    EXPECT_FALSE(byName.seek("~"));
    found << "NAME ~ => -\n";
    auto byId = file->tag("ID")->cursor();
    for (int id : {1, 7777, 20000}) {
        ASSERT_TRUE(byId.seek(store::encodeNumberKey(id)));
        seeks << "ID\t" << id << '\n';
        found << "ID " << id << " => " << byId.recno() << '\n';
    }
    lwtest::writeFile(dir / "seeks.txt", seeks.str());
    std::string out;
    ASSERT_EQ(lwtest::runCommand("cd '" + dir.path().string() +
                                     "' && perl check.pl quiz.dbf quiz.cdx NAME:C KIND_B:C KIND:C ID:N 2>&1",
                                 &out),
              0)
        << out;

    std::ostringstream want;
    for (auto* t : file->tags()) {
        int options = 0x60 | (t->forExpression().empty() ? 0 : 0x08) | (t->unique() ? 1 : 0);
        want << t->name() << '|' << t->keyExpression() << '|' << t->forExpression() << '|' << t->keyLength() << '|'
             << options << '\n';
        bool first = true;
        for (const auto& e : t->entries()) {
            want << (first ? "" : ",") << e.recno;
            first = false;
        }
        want << '\n';
    }
    EXPECT_EQ(out, want.str() + found.str());
}

} // namespace
