#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "store/error.h"
#include "store/workarea.h"
#include "support/testdir.h"

// Random moves and changes on a work area, checked step by step against a plain list sorted by (key, record).
namespace {

using store::FieldType;
using store::Value;

struct Config {
    bool ordered;   // controlling tag on KEY
    bool forClause; // the tag holds only records with FLAG > 0
    bool filter;    // only records with FLAG < 2 are visible
    bool deleted;   // deleted records are hidden
};

struct Rec {
    std::string key;
    int flag = 0;
    bool deleted = false;
};

class Model {
public:
    explicit Model(Config c) : m_c(c) {}

    std::vector<Rec> recs;
    std::uint32_t cur = 0; // 0: eof
    bool bof = false;

    bool inOrder(std::uint32_t r) const { return !m_c.ordered || !m_c.forClause || recs[r - 1].flag > 0; }
    bool visible(std::uint32_t r) const {
        const Rec& x = recs[r - 1];
        return !(m_c.filter && x.flag >= 2) && !(m_c.deleted && x.deleted);
    }
    // Sort position of a record, in or out of the order.
    std::pair<std::string, std::uint32_t> pos(std::uint32_t r) const {
        return m_c.ordered ? std::pair{recs[r - 1].key, r} : std::pair{std::string(), r};
    }
    std::vector<std::uint32_t> order() const {
        std::vector<std::uint32_t> out;
        for (std::uint32_t r = 1; r <= recs.size(); ++r)
            if (inOrder(r)) out.push_back(r);
        std::sort(out.begin(), out.end(), [&](auto a, auto b) { return pos(a) < pos(b); });
        return out;
    }
    std::vector<std::uint32_t> visibleOrder() const {
        auto o = order();
        std::erase_if(o, [&](auto r) { return !visible(r); });
        return o;
    }
    // Without a visible record the area stands at its beginning and its end at once.
    void goTop() {
        auto o = visibleOrder();
        bof = o.empty();
        cur = o.empty() ? 0 : o.front();
    }
    void goBottom() {
        auto o = visibleOrder();
        bof = o.empty();
        cur = o.empty() ? 0 : o.back();
    }
    void skipForward() {
        bof = false;
        if (cur == 0) return;
        const auto here = pos(cur);
        cur = 0;
        for (auto r : visibleOrder())
            if (pos(r) > here) {
                cur = r;
                break;
            }
    }
    void skipBack() {
        bof = false;
        if (cur == 0) {
            goBottom();
            return;
        }
        const auto here = pos(cur);
        auto o = visibleOrder();
        for (auto it = o.rbegin(); it != o.rend(); ++it)
            if (pos(*it) < here) {
                cur = *it;
                return;
            }
        goTop();
        bof = true;
    }
    bool seek(const std::string& prefix) {
        bof = false;
        for (auto r : order()) {
            if (recs[r - 1].key.compare(0, prefix.size(), prefix) < 0) continue;
            if (recs[r - 1].key.compare(0, prefix.size(), prefix) > 0) break;
            if (visible(r)) {
                cur = r;
                return true;
            }
        }
        cur = 0;
        return false;
    }

private:
    Config m_c;
};

std::string randomKey(std::mt19937& rng) {
    std::string k(3, 'A');
    for (char& c : k)
        c = static_cast<char>('A' + rng() % 3);
    return k;
}

// Runs one random sequence; returns the log of operations up to the first difference (empty when none).
std::string runSequence(const Config& c, unsigned seed, const std::filesystem::path& dir, bool offOrderGoTo) {
    store::Session session;
    session.setDeleted(c.deleted);
    store::WorkArea* a = session.create(dir / (std::string("M").append(std::to_string(seed)).append(".DBF")),
                                        {{"KEY", FieldType::Character, 3, 0}, {"FLAG", FieldType::Numeric, 1, 0}}, "M");
    if (!a) return "create failed";
    Model m(c);
    std::mt19937 rng(seed);
    std::ostringstream log;
    auto add = [&](const std::string& key, int flag) {
        a->appendBlank();
        a->replace("KEY", Value::text(key));
        a->replace("FLAG", Value::number(flag));
        m.recs.push_back({key, flag, false});
        m.cur = static_cast<std::uint32_t>(m.recs.size());
        m.bof = false;
    };
    for (int i = 0; i < 12; ++i)
        add(randomKey(rng), static_cast<int>(rng() % 3));
    if (c.ordered &&
        !a->indexOn("KEY", dir / (std::string("M").append(std::to_string(seed)).append(".CDX")), "K", c.forClause ? "FLAG > 0" : ""))
        return "index failed";
    if (c.filter) a->setFilter("FLAG < 2");
    a->goTop();
    m.goTop();

    for (int step = 0; step < 400; ++step) {
        const unsigned op = rng() % 14;
        switch (op) {
        case 0:
            log << "top ";
            a->goTop();
            m.goTop();
            break;
        case 1:
            log << "bottom ";
            a->goBottom();
            m.goBottom();
            break;
        case 2:
        case 3:
            log << "skip ";
            a->skip(1);
            m.skipForward();
            break;
        case 4:
        case 5:
            log << "back ";
            a->skip(-1);
            m.skipBack();
            break;
        case 6: {
            // goTo of any record, or (unless asked for) only of one the order holds
            std::vector<std::uint32_t> targets;
            for (std::uint32_t r = 1; r <= m.recs.size(); ++r)
                if (offOrderGoTo || m.inOrder(r)) targets.push_back(r);
            if (targets.empty()) break;
            const auto r = targets[rng() % targets.size()];
            log << "goto" << r << ' ';
            a->goTo(r);
            m.cur = r;
            m.bof = false;
            break;
        }
        case 7:
            if (m.cur == 0) break;
            {
                const std::string k = randomKey(rng);
                log << "key=" << k << ' ';
                a->replace("KEY", Value::text(k));
                m.recs[m.cur - 1].key = k;
            }
            break;
        case 8:
            if (m.cur == 0 || (!offOrderGoTo && c.forClause))
                break; // leaving the FOR tag is only covered by the off-order runs
            {
                const int f = static_cast<int>(rng() % 3);
                log << "flag=" << f << ' ';
                a->replace("FLAG", Value::number(f));
                m.recs[m.cur - 1].flag = f;
            }
            break;
        case 9: {
            const std::string k = randomKey(rng);
            const int f = 1 + static_cast<int>(rng() % 2);
            log << "append" << k << f << ' ';
            add(k, f);
            break;
        }
        case 10:
            if (m.cur == 0) break;
            log << "delete ";
            a->deleteRecord();
            m.recs[m.cur - 1].deleted = true;
            break;
        case 12:
            if (m.cur == 0)
                break;
            log << "recall ";
            a->recall();
            m.recs[m.cur - 1].deleted = false;
            break;
        case 13:
            if (rng() % 4 != 0)
                break;
            log << "pack ";
            a->pack();
            std::erase_if(m.recs, [](const Rec& r) { return r.deleted; });
            m.goTop();
            break;
        case 11: {
            const std::string p = randomKey(rng).substr(0, 1 + rng() % 2);
            if (!c.ordered) break;
            log << "seek" << p << ' ';
            const bool found = a->seek(p);
            if (found != m.seek(p)) return log.str() + "<- found differs";
            break;
        }
        }
        const bool eofOk = a->eof() == (m.cur == 0);
        const bool recOk = m.cur == 0 || a->recNo() == m.cur;
        const bool bofOk = a->bof() == m.bof;
        if (!eofOk || !recOk || !bofOk) {
            log << "<- area at " << a->recNo() << (a->eof() ? " eof" : "") << (a->bof() ? " bof" : "") << ", model at "
                << m.cur << (m.bof ? " bof" : "");
            return log.str();
        }
    }
    // The walk in both directions sees the model's order.
    std::vector<std::uint32_t> forward, backward;
    for (a->goTop(); !a->eof(); a->skip())
        forward.push_back(a->recNo());
    for (a->goBottom(); !a->eof() && !a->bof(); a->skip(-1))
        backward.insert(backward.begin(), a->recNo());
    if (forward != m.visibleOrder() || backward != m.visibleOrder()) return log.str() + "<- walk differs";
    return {};
}

class WorkAreaModel : public ::testing::TestWithParam<Config> {
protected:
    void SetUp() override {
        m_previous = store::setErrorCallback([this](const store::StoreError& e) { errors.push_back(e.message); });
    }
    void TearDown() override { store::setErrorCallback(m_previous); }
    lwtest::TempDir dir;
    std::vector<std::string> errors;

private:
    store::ErrorCallback m_previous;
};

TEST_P(WorkAreaModel, MovesAndChangesFollowASortedList) {
    for (unsigned seed = 1; seed <= 15; ++seed) {
        const std::string failure = runSequence(GetParam(), seed, dir.path(), false);
        ASSERT_EQ(failure, "") << "seed " << seed;
    }
    EXPECT_EQ(errors, std::vector<std::string>{});
}

TEST_P(WorkAreaModel, RecordsOutsideTheOrderMoveFromWhereTheirKeyWouldStand) {
    for (unsigned seed = 1; seed <= 15; ++seed) {
        const std::string failure = runSequence(GetParam(), seed, dir.path(), true);
        ASSERT_EQ(failure, "") << "seed " << seed;
    }
    EXPECT_EQ(errors, std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Orders, WorkAreaModel,
                         ::testing::Values(Config{false, false, false, false}, Config{false, false, true, true},
                                           Config{true, false, false, false}, Config{true, false, true, true},
                                           Config{true, true, false, false}, Config{true, true, true, true},
                                           Config{true, true, true, false}, Config{true, true, false, true}));

} // namespace
