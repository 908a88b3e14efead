#include "toothfeatures/nametables.h"

#include <array>

namespace trelvik::toothfeatures {

namespace {

constexpr std::array<FeatureName, 12> kCrests{{
    {"Preparacrista", "prpac"},
    {"Postparacrista", "popac"},
    {"Premetacrista", "prmec"},
    {"Postmetacrista", "pomec"},
    {"Preprotocrista", "prprc"},
    {"Postprotocrista", "poprc"},
    {"Paracristid", "pacd"},
    {"Protocristid", "prcd"},
    {"Cristid obliqua", "crob"},
    {"Hypocristid", "hycd"},
    {"Entocristid", "encd"},
    {"Postmetacristid", "pmcd"},
}};

constexpr std::array<FeatureName, 8> kCusps{{
    {"Paracone", "pa"},
    {"Metacone", "me"},
    {"Protocone", "pr"},
    {"Paraconid", "pad"},
    {"Protoconid", "prd"},
    {"Metaconid", "med"},
    {"Entoconid", "end"},
    {"Hypoconid", "hyd"},
}};

std::vector<std::string> namesOf(std::span<const FeatureName> table)
{
    std::vector<std::string> names;
    names.reserve(table.size());
    for (const auto& entry : table)
        names.emplace_back(entry.name);
    return names;
}

} // namespace

std::span<const FeatureName> crestTable() { return kCrests; }
std::span<const FeatureName> cuspTable() { return kCusps; }

std::vector<std::string> crestNames() { return namesOf(kCrests); }
std::vector<std::string> cuspNames() { return namesOf(kCusps); }

std::optional<std::string> lookupCode(std::span<const FeatureName> table, std::string_view text)
{
    for (const auto& entry : table)
        if (entry.name == text)
            return std::string(entry.code);
    return std::nullopt;
}

std::optional<std::string> crestCode(std::string_view text) { return lookupCode(kCrests, text); }
std::optional<std::string> cuspCode(std::string_view text) { return lookupCode(kCusps, text); }

std::string chooseName(std::span<const FeatureName> table, std::string_view text, std::string& code)
{
    if (auto found = lookupCode(table, text))
        code = *found;
    return code;
}

std::optional<std::string> nameRefusal(std::span<const FeatureName> table, std::string_view kind,
                                       std::string_view text, std::string_view code)
{
    const std::string k(kind);
    if (text.empty() || code.empty())
        return "Choose " + k + " name";
    const std::string fromList = " choose a " + k + " name from the list.";
    const auto listed = lookupCode(table, text);
    if (!listed)
        return "\"" + std::string(text) + "\" is not a " + k + " of the list:" + fromList;
    if (*listed != code)
        return "\"" + std::string(text) + "\" is not the " + k + " chosen (" + std::string(code) + "):" + fromList;
    return std::nullopt;
}

std::optional<std::string> cuspNameRefusal(std::string_view text, std::string_view code)
{
    return nameRefusal(kCusps, "cusp", text, code);
}

std::optional<std::string> crestNameRefusal(std::string_view text, std::string_view code)
{
    return nameRefusal(kCrests, "crest", text, code);
}

} // namespace trelvik::toothfeatures
