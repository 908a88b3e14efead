#include "toothfeatures/nametables.h"

#include <gtest/gtest.h>

#include <set>

using namespace trelvik::toothfeatures;

TEST(NameTables, TablesInListOrderWithDistinctCodes)
{
    const std::vector<std::string> crests = {
        "Preparacrista", "Postparacrista", "Premetacrista", "Postmetacrista",
        "Preprotocrista", "Postprotocrista", "Paracristid", "Protocristid",
        "Cristid obliqua", "Hypocristid", "Entocristid", "Postmetacristid"};
    const std::vector<std::string> crestCodes = {
        "prpac", "popac", "prmec", "pomec", "prprc", "poprc",
        "pacd", "prcd", "crob", "hycd", "encd", "pmcd"};
    const std::vector<std::string> cusps = {
        "Paracone", "Metacone", "Protocone", "Paraconid",
        "Protoconid", "Metaconid", "Entoconid", "Hypoconid"};
    const std::vector<std::string> cuspCodes = {"pa", "me", "pr", "pad", "prd", "med", "end", "hyd"};

    EXPECT_EQ(crestNames(), crests);
    EXPECT_EQ(cuspNames(), cusps);
    for (size_t i = 0; i < crests.size(); ++i)
        EXPECT_EQ(crestCode(crests[i]), crestCodes[i]) << crests[i];
    for (size_t i = 0; i < cusps.size(); ++i)
        EXPECT_EQ(cuspCode(cusps[i]), cuspCodes[i]) << cusps[i];

    // Codes name output files, so two names must never share one.
    EXPECT_EQ(std::set<std::string>(crestCodes.begin(), crestCodes.end()).size(), crestCodes.size());
    EXPECT_EQ(std::set<std::string>(cuspCodes.begin(), cuspCodes.end()).size(), cuspCodes.size());
}

TEST(NameTables, LookupIsExactAndAnUnknownTextKeepsTheCode)
{
    EXPECT_FALSE(crestCode("cristid obliqua"));
    EXPECT_FALSE(crestCode("Cristid  obliqua"));
    EXPECT_FALSE(cuspCode("Protoconid "));
    EXPECT_FALSE(cuspCode("Preparacrista")); // tables are kept apart
    EXPECT_FALSE(crestCode(""));

    std::string code; // a fresh window
    EXPECT_EQ(chooseName(cuspTable(), "protoconid", code), "");
    EXPECT_EQ(chooseName(cuspTable(), "Protoconid", code), "prd");
    EXPECT_EQ(chooseName(cuspTable(), "Protoconid", code), "prd");
    EXPECT_EQ(chooseName(cuspTable(), "PROTOCONID", code), "prd");
    EXPECT_EQ(chooseName(cuspTable(), "Hypoconid", code), "hyd");
    EXPECT_EQ(code, "hyd");

    std::string crest;
    EXPECT_EQ(chooseName(crestTable(), "Cristid obliqua", crest), "crob");
}
