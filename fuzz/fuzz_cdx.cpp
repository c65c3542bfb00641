// CDX compound indexes: open whatever bytes come, then walk and seek in every tag.
#include "fuzz_common.h"
#include "store/cdx.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto path = fuzz::scratch() / "I.CDX";
    fuzz::writeBytes(path, data, size);
    auto file = store::CdxFile::open(path.string(), [](const std::string& e) {
        return e.size() % 3 == 0 ? store::KeyType::Numeric : store::KeyType::Character;
    });
    if (!file)
        return 0;
    for (store::CdxTag* tag : file->tags()) {
        auto cursor = tag->cursor();
        std::size_t n = 0;
        for (bool ok = cursor.first(); ok && n < 100000; ok = cursor.next(), ++n)
            (void)cursor.key();
        cursor.seek(std::string_view(tag->keyExpression()).substr(0, 3));
        (void)cursor.prev();
    }
    file->close();
    return 0;
}
