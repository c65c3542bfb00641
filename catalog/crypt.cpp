#include "catalog/crypt.h"

#include <array>

namespace catalog {

const std::string_view CENCRYPT = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
const std::string_view CDECRYPT = "\xD2\xC7\xA9\xC6\xD9\xA2\xB9\xB4\xD0\xAC\xC5\xD4\xC1\xAA\xA6\xCB\xE3\xB6\xCE\xA3\xCF\xA8"
                                  "\xB8\xF8\xD8\xF5\xCA\xCD\xD3\xDB\xC2\xBA\xDE\xA1\xC0\xBF\xC9\xCC\xA4\xE5\xAF\xD1\xAE\xC3"
                                  "\xDD\xD5\xC8\xA5\xE6\xDA\xF0\xB1";
const std::string_view CKEY = "QRT2007LW";

namespace {

using Map = std::array<unsigned char, 256>;

Map makeMap(std::string_view from, std::string_view to) {
    Map map{};
    for (int c = 0; c < 256; ++c)
        map[static_cast<size_t>(c)] = static_cast<unsigned char>(c);
    for (size_t i = 0; i < from.size(); ++i)
        map[static_cast<unsigned char>(from[i])] = static_cast<unsigned char>(to[i]);
    return map;
}

std::string apply(const Map& map, std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(map[static_cast<unsigned char>(c)]);
    return out;
}

} // namespace

std::string ENCRYPT(std::string_view text, std::string_view) {
    static const Map map = makeMap(CDECRYPT, CENCRYPT);
    return apply(map, text);
}

std::string DECRYPT(std::string_view text, std::string_view) {
    static const Map map = makeMap(CENCRYPT, CDECRYPT);
    return apply(map, text);
}

} // namespace catalog
