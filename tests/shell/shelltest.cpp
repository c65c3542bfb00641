#include "shelltest.h"

#include "catalog/crypt.h"
#include "catalog/tables.h"
#include "store/workarea.h"

namespace shelltest {

void writeCatalog(const std::filesystem::path& dir, int count) {
    store::Session s;
    store::WorkArea* f = s.create(dir / "FRAGEN.DBF", catalog::fragenFields(), "DFRG");
    ASSERT_NE(f, nullptr);
    for (int i = 1; i <= count; ++i) {
        const std::string nr = "1.1.01-00" + std::to_string(i);
        f->appendBlank();
        f->replace("FRAGENR", store::Value::text(nr));
        f->replace("THEMA", store::Value::number(1));
        f->replaceMemo("FRAGE", catalog::DECRYPT("Frage " + std::to_string(i)), false);
        f->replace("KLASSE_B", store::Value::number(3));
    }
}

} // namespace shelltest
