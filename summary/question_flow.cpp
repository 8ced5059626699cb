#include "summary/question_flow.h"

#include <algorithm>

namespace cgt {

namespace {

// Worksheet tags (751 + worksheet) of the asset classes, and the trust distribution table.
constexpr int kShares = 1202, kTrusts = 1203, kOtherTrusts = 1204, kRealEstate = 1205;
constexpr int kPersonalUse = 1206, kOtherAssets = 1207, kRights = 1208, kDepreciating = 1209;
constexpr int kReceipts = 1213, kTrustDistributions = 1215;

const std::vector<QuestionRow>& Rows() {
    static const std::vector<QuestionRow> rows = {
        // ---- introduction, losses, residency ----
        {.screen = 2004,
         .className = "TQCGT_83",
         .question = {"<X0><T1>What capital gains and losses do you need to tell <T3>Tesmo<.;T1> "
                      "about?<.>"},
         .notes = {"You need to tell us about every CGT event that happened to your assets "
                   "between 1 July 2003 and 30 June 2004.",
                   "Most gains and losses on cars, motor cycles, your main residence, personal "
                   "use assets costing $10,000 or less and assets acquired before 20 September "
                   "1985 are disregarded and need not be entered.",
                   "Capital gains distributed to you by a managed fund or other trust must be "
                   "entered, as must gains from shares, units, real estate, collectables and "
                   "other assets.",
                   "Some events, for example those needing a market value substitution or a "
                   "small business roll-over, need a manual calculation; you enter the result "
                   "in the manual calculation table."},
         .next = 2005},
        {.screen = 2005,
         .className = "TQCGT_56",
         .question = {"<T1>Collection of unapplied net capital losses data.<.>"},
         .notes = {"Enter all unapplied net capital losses from earlier income years.",
                   "If you do not have any losses to apply, leave this section blank.  Do not "
                   "enter zeros."},
         .next = 2088},
        {.screen = 2088,
         .className = "TQCGT_60",
         .question = {"<T1>Ceasing to be an Australian resident for tax purposes.<.>"},
         .notes = {"If you stopped being an Australian resident during 2003-04, CGT event I1 "
                   "happened to each of your assets that does not have the necessary connection "
                   "with Australia.",
                   "You may instead choose to treat those assets as having that connection "
                   "until you dispose of them; the gain or loss is then worked out when that later "
                   "event happens.",
                   "Enter any event I1 gains or losses with the other assets of the same kind."},
         .next = 2006},
        // ---- shares ----
        {.screen = 2006,
         .className = "TQCGT_39a",
         .question = {"<T1>Did you own or have an <C12;T5;J231>interest<.><T1> in shares "
                      "(including rights, options, etc.) during the <V99998>-<V99999>",
                      "income year?<.>"},
         .notes = {"Common share transactions during the year include: selling shares or "
                   "units, a takeover or merger, a share buy-back, a demutualisation, a return "
                   "of capital and the expiry or exercise of rights and options."},
         .yes = 2007,
         .no = 2018,
         .markerYes = 1,
         .markerNo = 1,
         .removeOnNo = {kShares}},
        {.screen = 2007,
         .className = "TQCGT_39",
         .question = {"<T1>Did any of the CGT events listed below happen to any shares "
                      "(including rights, options, etc.)",
                      "that you owned or had an <C12;T5;J231>interest<.;T1> in during the "
                      "income year?<.>"},
         .notes = {"A1 - you sold or gave away shares;",
                   "C2 - your shares were cancelled, "
                   "redeemed or bought back, or expired;",
                   "G1 - a company made a non-assessable payment to you for your shares."},
         .yes = 2009,
         .no = 2018,
         .worksheet = 451,
         .markerYes = 1,
         .markerNo = 1,
         .removeOnNo = {kShares}},
        {.screen = 2017,
         .className = "TQCGT_40",
         .question = {"<T1>Did you have another CGT event happen to any other parcels of shares "
                      "that you ",
                      "owned or had an interest in?<.>"},
         .yes = 2009,
         .no = 2018,
         .clearReopenRow = true,
         .hidePrev = true},
        // ---- trusts ----
        {.screen = 2018,
         .className = "TQCGT_03a",
         .question = {"<T1>Were you a beneficiary of a trust during the income year?<.>"},
         .notes = {"Answer Yes if a trust, including a managed fund, distributed a capital "
                   "gain to you in 2003-04."},
         .yes = 2019,
         .no = 2031,
         .markerYes = 2,
         .markerNo = 4,
         .removeOnNo = {kTrusts, kOtherTrusts, kTrustDistributions}},
        {.screen = 2020,
         .className = "TQCGT_41",
         .question = {"<T1>If you owned or had an interest in a trust (including options or "
                      "rights), did any ",
                      "of the events listed below happen?<.>"},
         .notes = {"A1 - you sold or gave away units or another trust interest;",
                   "C2 - your units were redeemed or cancelled;",
                   "E4 - the trust made a non-assessable payment to you."},
         .yes = 2022,
         .no = 2031,
         .worksheet = 452,
         .markerYes = 3,
         .markerNo = 3,
         .removeOnNo = {kTrusts}},
        {.screen = 2030,
         .className = "TQCGT_42",
         .question = {"<T1>Did you have another CGT event happen to any other trust "
                      "interests?<.>"},
         .yes = 2022,
         .no = 2031,
         .clearReopenRow = true,
         .hidePrev = true},
        // ---- real estate ----
        {.screen = 2031,
         .className = "TQCGT_43a",
         .question = {"<T1>Did you own or have an <C12;T5;J234>interest<.;T1> in real estate "
                      "(including your home) during the income year?<.>"},
         .yes = 2032,
         .no = 2042,
         .markerYes = 5,
         .markerNo = 5,
         .removeOnNo = {kRealEstate}},
        {.screen = 2032,
         .className = "TQCGT_43b",
         .question = {"<T1>Your main residence.<.>"},
         .notes = {"A gain or loss on your home is disregarded if it was your main residence "
                   "for the whole time you owned it and was not used to produce income.",
                   "If it was your main residence for only part of that time, or part of it "
                   "was rented out or used for a business, only a partial exemption applies "
                   "and the event must be entered."},
         .next = 2033},
        {.screen = 2033,
         .className = "TQCGT_43",
         .question = {"<T1><T1>Did any of the CGT events listed below happen to "
                      "<C12;T5;J7>real estate<.;T1> - for example land, a strata title ",
                      "unit or <C12;T5;J204>a dwelling<.;T1> (including your home if it did "
                      "not qualify for a full main residence ",
                      "exemption)?<.>"},
         .notes = {"A1 - you sold or gave away real estate;",
                   "C1 - a property was lost or destroyed;",
                   "D1 - you created a right over it, such as an easement; D2 - you granted an "
                   "option over it."},
         .yes = 2035,
         .no = 2042,
         .worksheet = 454,
         .markerYes = 5,
         .markerNo = 5,
         .removeOnNo = {kRealEstate}},
        {.screen = 2041,
         .className = "TQCGT_44",
         .question = {"<T1>Did another CGT event happen to real estate?<.>"},
         .yes = 2035,
         .no = 2042,
         .clearReopenRow = true,
         .hidePrev = true},
        // ---- depreciating assets ----
        {.screen = 2042,
         .className = "TQCGT_80",
         .question = {"<T1>Did you own a <C12;T5;J345>depreciating asset<.;T1> at any time "
                      "during the year of income?<.>"},
         .yes = 2043,
         .no = 2052,
         .markerYes = 8,
         .markerNo = 8,
         .removeOnNo = {kDepreciating}},
        {.screen = 2043,
         .className = "TQCGT_81",
         .question = {"<T1>During the income year, did you:",
                      "<X0>•<X10>stop owning a <C12;T5;J350>depreciating asset<.;T1>; or",
                      "<X0>•<X10>stop using a <C12;T5;J350>depreciating asset<.;T1> and expect "
                      "never to use it again; or",
                      "<X0>•<X10>after acquiring a <C12;T5;J350>depreciating asset<.;T1>, not "
                      "use it and intend never to use it?<.>"},
         .notes = {"Each of these is a balancing adjustment event. A capital gain or loss "
                   "arises only to the extent the asset was used for a non-taxable purpose."},
         .yes = 2045,
         .no = 2052,
         .worksheet = 458,
         .markerYes = 8,
         .markerNo = 8,
         .removeOnNo = {kDepreciating}},
        {.screen = 2051,
         .className = "TQCGT_82",
         .question = {"<T1>In relation to any other depreciating asset you held during the "
                      "income year, did you:",
                      "<X0>•<X10>stop owning the depreciating asset; or",
                      "<X0>•<X10>stop using the depreciating asset and expect never to use it "
                      "again; or",
                      "<X0>•<X10>after acquiring the depreciating asset, not use it and intend "
                      "never to use it?<.>"},
         .yes = 2045,
         .no = 2052,
         .clearReopenRow = true,
         .hidePrev = true},
        // ---- personal use assets and collectables ----
        {.screen = 2052,
         .className = "TQCGT_45a",
         .question = {"<T1>Did you own or have an <C12;T5;J231>interest<.;T1> in a "
                      "<C12;T5;J141>personal use asset<.;T1> or <C12;T5;J107>collectable "
                      "<.;T1>that is not a depreciating ",
                      "asset?<.>"},
         .yes = 2053,
         .no = 2062,
         .markerYes = 6,
         .markerNo = 6,
         .removeOnNo = {kPersonalUse}},
        {.screen = 2053,
         .className = "TQCGT_45",
         .question = {"<T1>Did any of the CGT events listed below happen to any "
                      "<C12;T5;J141>personal use<.;T1> or <C12;T5;J107>collectable "
                      "assets<.;T1> in",
                      "which you had an <C12;T5;J231>interest<.;T1>?<.>"},
         .notes = {"A1 - you sold or gave away the asset; C1 - it was lost or destroyed.",
                   "Gains on personal use assets acquired for $10,000 or less and on "
                   "collectables acquired for $500 or less are disregarded; losses on personal "
                   "use assets are always disregarded."},
         .yes = 2055,
         .no = 2062,
         .worksheet = 455,
         .markerYes = 6,
         .markerNo = 6,
         .removeOnNo = {kPersonalUse}},
        {.screen = 2061,
         .className = "TQCGT_46",
         .question = {"<T1>Did you have another CGT event happen to a personal use asset or "
                      "collectable (other than ",
                      "a depreciating asset) that you owned or had an interest in where the "
                      "capital gain or capital ",
                      "loss is not disregarded?<.>"},
         .yes = 2055,
         .no = 2062,
         .clearReopenRow = true,
         .hidePrev = true},
        // ---- other assets ----
        {.screen = 2062,
         .className = "TQCGT_47a",
         .question = {"<T1>Did you own or have an interest in any of the following CGT assets "
                      "during the ",
                      "income year:<.>"},
         .notes = {"- intangible property, such as goodwill, copyright or a licence;",
                   "- contractual or other legal or equitable rights;", "- leases;",
                   "- any other asset not mentioned before."},
         .yes = 2063,
         .no = 2072,
         .markerYes = 7,
         .markerNo = 7,
         .removeOnNo = {kOtherAssets}},
        {.screen = 2063,
         .className = "TQCGT_47",
         .question = {"<T1>Did any of the following CGT events happen to these assets?<.>"},
         .notes = {"A1 - you disposed of the asset; C2 - a right or licence was cancelled, "
                   "surrendered or expired; F4 - as a lessee you received a payment for "
                   "changing the lease."},
         .yes = 2065,
         .no = 2072,
         .worksheet = 456,
         .markerYes = 7,
         .markerNo = 7,
         .removeOnNo = {kOtherAssets}},
        {.screen = 2071,
         .className = "TQCGT_48",
         .question = {"<T1>Did you have another CGT event happen to intangible property, "
                      "contractual or other rights, ",
                      "leases or other assets that you owned or had an interest in?<.>"},
         .yes = 2065,
         .no = 2072,
         .clearReopenRow = true,
         .hidePrev = true},
        // ---- creation of rights ----
        {.screen = 2072,
         .className = "TQCGT_49a",
         .question = {"<T1>Did you create any rights in another entity during the year or did "
                      "you as a lessor receive",
                      "or make a payment for changing a lease?<.>"},
         .yes = 2073,
         .no = 2096,
         .markerYes = 8,
         .markerNo = 8,
         .removeOnNo = {kRights}},
        {.screen = 2073,
         .className = "TQCGT_49",
         .question = {"<T1>Did any of the CGT events listed below happen in relation to the "
                      "rights you created in ",
                      "another entity?<.>"},
         .notes = {"D1 - you created contractual or other rights in another entity;",
                   "D2 - you granted an option; D3 - you granted a right to income from mining;",
                   "F1 - you granted, renewed or extended a lease; F3 and F5 - as a lessor you "
                   "paid or received a payment for changing a lease."},
         .yes = 2075,
         .no = 2096,
         .worksheet = 457,
         .markerYes = 8,
         .markerNo = 8,
         .removeOnNo = {kRights}},
        {.screen = 2074,
         .className = "TQCGT_08g",
         .question = {"<T1>Completing details for CGT events that happen to rights you created "
                      "in another entity.<.>"},
         .notes = {"For each event enter a description, the capital proceeds and the "
                   "incidental costs of creating the right, and say whether a roll-over "
                   "applies."},
         .next = 2075,
         .hidePrev = true},
        {.screen = 2081,
         .className = "TQCGT_50",
         .question = {"<T1>Did you create other rights in an entity?<.>"},
         .yes = 2075,
         .no = 2096,
         .clearReopenRow = true,
         .hidePrev = true},
        // ---- other receipts (CGT event H2) ----
        {.screen = 2096,
         .className = "TQCGT_35",
         .question = {"<T1>Did you receive money or property as a result of an act, "
                      "transaction or event relating to ",
                      "a CGT asset you owned or had an interest in during the income year?<.>"},
         .notes = {"This is CGT event H2: money or property received because of something done "
                   "in relation to an asset you own, where no other CGT event applies, for "
                   "example a payment for agreeing to vary or waive a right attached to it."},
         .yes = 2097,
         .no = 2099,
         .worksheet = 462,
         .markerYes = 13,
         .markerNo = 13,
         .removeOnNo = {kReceipts}},
        {.screen = 2098,
         .className = "TQCGT_37",
         .question = {"<T1>Did you receive any other money or property as a result of an act, "
                      "transaction or event ",
                      "relating to a CGT asset you owned or had an interest in during the income "
                      "year?<.>"},
         .yes = 2097,
         .no = 2099,
         .clearReopenRow = true,
         .hidePrev = true},
        // ---- summary ----
        {.screen = 2102,
         .className = "TQCGT_57",
         .question = {"<T1>Your net capital gain<.>"},
         .notes = {"The next screen presents your net capital gain for 2003-04.",
                   "For each event you may use the indexation or the discount method where "
                   "both are available, and you may choose which capital gains your capital "
                   "losses reduce.",
                   "You can let Tesmo make all these choices, make some of them yourself, or "
                   "make them all yourself.",
                   "<X10><T1>Important note<.> - Tesmo may not in all circumstances calculate "
                   "the lowest possible gain where",
                   "<X10>capital losses are available to reduce capital gains."},
         .next = 2103},
    };
    return rows;
}

} // namespace

std::span<const QuestionRow> QuestionTable() {
    return Rows();
}

const QuestionRow* FindQuestionRow(std::string_view className) {
    const auto& rows = Rows();
    auto it = std::find_if(rows.begin(), rows.end(),
                           [&](const QuestionRow& r) { return r.className == className; });
    return it == rows.end() ? nullptr : &*it;
}

const QuestionRow* FindQuestionRowByScreen(int screen) {
    const auto& rows = Rows();
    auto it = std::find_if(rows.begin(), rows.end(),
                           [&](const QuestionRow& r) { return r.screen == screen; });
    return it == rows.end() ? nullptr : &*it;
}

} // namespace cgt
