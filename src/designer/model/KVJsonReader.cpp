#include "KVJsonReader.h"

#include <nlohmann/json.hpp>

#include <string>
#include <unordered_set>
#include <vector>

namespace {
// Looks through the text without building anything, keeping the keys of each open object.
class RepeatedKeyFinder : public nlohmann::json_sax<nlohmann::json>
{
public:
    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t &) override { return true; }
    bool string(string_t &) override { return true; }
    bool binary(binary_t &) override { return true; }
    bool start_object(std::size_t) override
    {
        m_keys.emplace_back();
        return true;
    }
    bool key(string_t &strKey) override
    {
        // Stops at the first repetition.
        m_bRepeated = !m_keys.back().insert(strKey).second;
        return !m_bRepeated;
    }
    bool end_object() override
    {
        m_keys.pop_back();
        return true;
    }
    bool start_array(std::size_t) override { return true; }
    bool end_array() override { return true; }
    bool parse_error(std::size_t, const std::string &, const nlohmann::detail::exception &) override
    {
        return false;
    }

    bool repeated() const { return m_bRepeated; }

private:
    std::vector<std::unordered_set<std::string>> m_keys;
    bool m_bRepeated = false;
};
} // namespace

bool KVJsonReader::repeatsKey(const QByteArray &baText)
{
    RepeatedKeyFinder finder;
    (void)nlohmann::json::sax_parse(baText.constBegin(), baText.constEnd(), &finder);
    return finder.repeated();
}

QJsonDocument KVJsonReader::parse(const QByteArray &baText, QJsonParseError *pError)
{
    if (!repeatsKey(baText))
        return QJsonDocument::fromJson(baText, pError);
    std::string strWritten;
    try {
        strWritten = nlohmann::json::parse(baText.constBegin(), baText.constEnd()).dump();
    } catch (const nlohmann::json::exception &) {
        // Text Qt reads and nlohmann::json does not (invalid UTF-8 in a string): Qt reads it.
        return QJsonDocument::fromJson(baText, pError);
    }
    return QJsonDocument::fromJson(QByteArray::fromStdString(strWritten), pError);
}
