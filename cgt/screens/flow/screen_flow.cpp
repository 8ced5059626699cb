#include "cgt/screens/flow/screen_flow.h"

#include <algorithm>
#include <variant>

#include "cgt/rules/routes.h"
#include "store/tags.h"

namespace cgt {

namespace {

// The host's screen after the capital gains section: Next on the last screen leaves the module.
constexpr int kAfterInterview = 2201;

// A row of the table: one screen, or the screens of an event section.
using TableEntry = std::variant<ScreenRow, EventSection>;

// The interview path. Next leads to the following screen unless a row names its own.
const std::vector<TableEntry>& Entries() {
    static const std::vector<TableEntry> entries = {
        ScreenRow{
            .screen = 2004,
            .className = "TQCGT_83",
            .helpContext = 347,
            .topic = "Introduction screen",
            .question =
                {"<X0><T1>What capital gains and losses do you need to tell <T3>Tesmo<.;T1> "
                 "about?<.>"},
            .notes =
                {"Tell us about every CGT event that happened to your assets between 1 July "
                 "2003 and 30 June 2004. The time of most events, such as a sale, is when the "
                 "contract is made, not when it settles.",
                 "You need not enter events whose gain or loss is disregarded, such as those on "
                 "cars and motor cycles, on your main residence if it is fully exempt, on "
                 "personal use assets acquired for $10,000 or less, on collectables acquired "
                 "for $500 or less and on assets acquired before 20 September 1985.",
                 "Capital gains distributed to you by a managed fund or other trust must be "
                 "entered, as must gains and losses on shares, units, real estate, collectables "
                 "and other assets.",
                 "Gains and losses the interview does not work out, for example CGT event K6 on "
                 "shares or units acquired before 20 September 1985, or amounts you have "
                 "already calculated, go in the manual calculation table."}},
        ScreenRow{.screen = 2005,
                  .className = "TQCGT_56",
                  .helpContext = 32,
                  .topic = "Unapplied losses",
                  .question = {"<T1>Collection of unapplied net capital losses data.<.>"},
                  .notes = {"Enter all unapplied net capital losses from earlier income years.",
                            "If you do not have any losses to apply, leave this section blank.  Do "
                            "not enter zeros."}},
        ScreenRow{
            .screen = 2088,
            .className = "TQCGT_60",
            .helpContext = 235,
            .topic = "Ceasing to be a resident",
            .question = {"<T1>Ceasing to be an Australian resident for tax purposes.<.>"},
            .notes =
                {"If you stopped being an Australian resident during 2003-04, CGT event I1 "
                 "happened to each asset you owned that does not have the necessary connection "
                 "with Australia, other than assets acquired before 20 September 1985. The "
                 "capital proceeds are the asset's market value at that time.",
                 "Assets with that connection include land and buildings in Australia, assets "
                 "of a business carried on through a permanent establishment in Australia, "
                 "shares in an Australian private company and holdings of 10% or more in an "
                 "Australian public company.",
                 "You may instead choose to treat those assets as having that connection until "
                 "you dispose of them; the gain or loss is then worked out when that later "
                 "event happens.",
                 "Enter any event I1 gains or losses with the other assets of the same kind."}},
        ScreenRow{.screen = 2006,
                  .className = "TQCGT_39a",
                  .caption = 'B',
                  .helpContext = 3,
                  .topic = "Shares",
                  .question = {"<T1>Did you own or have an <C12;T5;J231>interest<.><T1> in shares "
                               "(including rights, options, etc.) during the <V99998>-<V99999>",
                               "income year?<.>"},
                  .notes = {"Common share transactions during the year include: selling shares or "
                            "units, a takeover or merger, a share buy-back, a demutualisation, a "
                            "return of capital and the expiry or exercise of rights and options."},
                  .yes = 2007,
                  .no = 2018,
                  .markerYes = 1,
                  .markerNo = 1,
                  .removeOnNo = {WorksheetTag(wkShares)}},
        ScreenRow{
            .screen = 2007,
            .className = "TQCGT_39",
            .helpContext = 3,
            .question = {"<T1>Did any of the CGT events listed below happen to any shares "
                         "(including rights, options, etc.)",
                         "that you owned or had an <C12;T5;J231>interest<.;T1> in during the "
                         "income year?<.>"},
            .notes =
                {"Exercising an option or right to buy shares is not a CGT event: what you paid "
                 "for it becomes part of the cost base of the shares.",
                 "<X0>•<X10>A1 - you sold or gave away shares, rights or options, including in "
                 "a takeover",
                 "<X0>•<X10>C2 - your shares were cancelled, redeemed or bought back, or rights "
                 "or options",
                 "<X10>expired or were cancelled",
                 "<X0>•<X10>G1 - the company paid you a non-assessable amount, such as a return "
                 "of capital",
                 "<X0>•<X10>G3 - a liquidator declared the shares worthless and you chose a "
                 "capital loss",
                 "<X0>•<X10>K6 - an event happened to shares acquired before 20 September 1985 "
                 "in a company",
                 "<X10>whose net value is 75% or more post-CGT property (use the manual "
                 "calculation table)",
                 "<X0>•<X10>I1 - you stopped being a resident (shares without the necessary "
                 "connection)",
                 "<X0>•<X10>K3 - the owner died and the shares passed to an exempt entity, a "
                 "complying super",
                 "<X10>fund or, for shares without the necessary connection, a foreign resident"},
            .yes = 2009,
            .no = 2018,
            .worksheet = wkShares,
            .markerYes = 1,
            .markerNo = 1,
            .removeOnNo = {WorksheetTag(wkShares)}},
        EventSection{
            .worksheet = wkShares,
            .screens = {{2009, EventStep::Registration},
                        {2010, EventStep::CostBase},
                        {2011, EventStep::CostElements},
                        {2012, EventStep::Payments},
                        {2013, EventStep::Disposal},
                        {2014, EventStep::RollOver},
                        {2015, EventStep::PaymentSummary},
                        {2016, EventStep::Gain}},
            .anotherEvent =
                {.screen = 2017,
                 .className = "TQCGT_40",
                 .helpContext = 3,
                 .question =
                     {"<T1>Did you have another CGT event happen to any other parcels of shares "
                      "that you ",
                      "owned or had an interest in?<.>"},
                 .no = 2018}},
        ScreenRow{
            .screen = 2018,
            .className = "TQCGT_03a",
            .helpContext = 4,
            .topic = "Trust information",
            .question = {"<T1>Were you a beneficiary of a trust during the income year?<.>"},
            .notes =
                {"Answer Yes if a trust, such as a managed fund or a property trust, "
                 "distributed a capital gain to you in 2003-04; the trust's statement to you "
                 "shows it.",
                 "Answer Yes also if you owned units or another interest in a trust during the "
                 "year, so that events such as selling or redeeming units can be entered."},
            .yes = 2019,
            .no = 2031,
            .markerYes = 2,
            .markerNo = 4,
            .removeOnNo = {WorksheetTag(wkTrustInterests), WorksheetTag(wkOtherTrusts),
                           tag::kTrustDistributionTable}},
        ScreenRow{.screen = 2019,
                  .className = "TQCGT02_04",
                  .helpContext = 349,
                  .topic = "CGT Trust distributions"},
        ScreenRow{
            .screen = 2020,
            .className = "TQCGT_41",
            .helpContext = 216,
            .topic = "CGT events affecting trusts",
            .question = {"<T1>If you owned or had an interest in a trust (including options or "
                         "rights), did any ",
                         "of the events listed below happen?<.>"},
            .notes =
                {"Capital gains the trust distributed to you go in the trust distribution "
                 "table, not here.",
                 "<X0>•<X10>A1 - you sold or gave away units or another interest in a trust",
                 "<X0>•<X10>C2 - your units were redeemed or cancelled, or an option or right "
                 "over units ended",
                 "<X0>•<X10>E4 - the trustee paid you a non-assessable amount, such as a "
                 "tax-deferred amount",
                 "<X10>(a gain arises only when these amounts exceed the cost base of your units)",
                 "<X0>•<X10>E5 - you became absolutely entitled to a trust asset as against the "
                 "trustee",
                 "<X0>•<X10>E7 - the trustee gave you a trust asset to end your capital "
                 "interest in the trust",
                 "<X0>•<X10>K6 - an event happened to units acquired before 20 September 1985 "
                 "in a trust",
                 "<X10>whose net value is 75% or more post-CGT property (use the manual "
                 "calculation table)",
                 "<X0>•<X10>I1 - you stopped being a resident (interests without the necessary "
                 "connection)",
                 "<X0>•<X10>K3 - the owner died and the interest passed to an exempt entity, a "
                 "complying super",
                 "<X10>fund or, for an interest without the necessary connection, a foreign "
                 "resident"},
            .yes = 2022,
            .no = 2031,
            .worksheet = wkTrustInterests,
            .markerYes = 3,
            .markerNo = 3,
            .removeOnNo = {WorksheetTag(wkTrustInterests)}},
        EventSection{
            .worksheet = wkTrustInterests,
            .screens = {{2022, EventStep::Registration},
                        {2023, EventStep::CostBase},
                        {2024, EventStep::CostElements},
                        {2025, EventStep::Payments},
                        {2026, EventStep::Disposal},
                        {2027, EventStep::RollOver},
                        {2028, EventStep::PaymentSummary},
                        {2029, EventStep::Gain}},
            .anotherEvent =
                {.screen = 2030,
                 .className = "TQCGT_42",
                 .helpContext = 216,
                 .question = {"<T1>Did you have another CGT event happen to any other trust "
                              "interests?<.>"},
                 .no = 2031}},
        ScreenRow{
            .screen = 2031,
            .className = "TQCGT_43a",
            .caption = 'B',
            .helpContext = 7,
            .topic = "Real estate",
            .question = {"<T1>Did you own or have an <C12;T5;J234>interest<.;T1> in real estate "
                         "(including your home) during the income year?<.>"},
            .yes = 2032,
            .no = 2042,
            .markerYes = 5,
            .markerNo = 5,
            .removeOnNo = {WorksheetTag(wkRealEstate)}},
        ScreenRow{
            .screen = 2032,
            .className = "TQCGT_43b",
            .helpContext = 80,
            .question = {"<T1>Your main residence.<.>"},
            .notes =
                {"A gain or loss on your home is disregarded if it was your main residence for "
                 "the whole time you owned it, it was not used to produce income and the land "
                 "with it was 2 hectares or less.",
                 "A former home can still count as your main residence while you live "
                 "elsewhere: for up to six years if it is rented out, without limit if it is "
                 "not. If you buy a new home before you sell the old one, both can be exempt "
                 "for up to six months.",
                 "If it was your main residence for only part of that time, or part of it was "
                 "rented out or used for a business, only a partial exemption applies and the "
                 "event must be entered. If it was your home until you first rented it out "
                 "after 20 August 1996, you are taken to have acquired it then, at its market "
                 "value."}},
        ScreenRow{
            .screen = 2033,
            .className = "TQCGT_43",
            .helpContext = 7,
            .question = {"<T1><T1>Did any of the CGT events listed below happen to "
                         "<C12;T5;J7>real estate<.;T1> - for example land, a strata title ",
                         "unit or <C12;T5;J204>a dwelling<.;T1> (including your home if it did "
                         "not qualify for a full main residence ",
                         "exemption)?<.>"},
            .notes =
                {"Options and other rights you granted over the property (D1, D2) and leases "
                 "you granted as lessor (F1, F2, F3, F5) are entered under Creation of rights.",
                 "<X0>•<X10>A1 - you sold or gave away land, a building or a unit, or it was "
                 "compulsorily acquired",
                 "<X0>•<X10>C1 - a building was lost or destroyed, for example by fire or storm",
                 "<X0>•<X10>D4 - you entered into a conservation covenant over your land",
                 "<X0>•<X10>K4 - the property became trading stock and you elected to treat it "
                 "as sold",
                 "<X0>•<X10>I1 - you stopped being a resident (only property outside Australia)",
                 "<X0>•<X10>K3 - the owner died and the property passed to an exempt entity or "
                 "a complying",
                 "<X10>superannuation fund"},
            .yes = 2035,
            .no = 2042,
            .worksheet = wkRealEstate,
            .markerYes = 5,
            .markerNo = 5,
            .removeOnNo = {WorksheetTag(wkRealEstate)}},
        EventSection{
            .worksheet = wkRealEstate,
            .screens = {{2035, EventStep::Registration},
                        {2036, EventStep::CostBase},
                        {2037, EventStep::CostElements},
                        {2038, EventStep::Disposal},
                        {2039, EventStep::RollOver},
                        {2040, EventStep::Gain}},
            .anotherEvent = {.screen = 2041,
                             .className = "TQCGT_44",
                             .helpContext = 7,
                             .question = {"<T1>Did another CGT event happen to real estate?<.>"},
                             .no = 2042}},
        ScreenRow{
            .screen =
                2042,
            .className = "TQCGT_80",
            .helpContext = 345,
            .topic = "Depreciating assets",
            .question = {"<T1>Did you own a <C12;T5;J345>depreciating asset<.;T1> at any time "
                         "during the year of income?<.>"},
            .yes = 2043,
            .no = 2052,
            .markerYes = 8,
            .markerNo = 8,
            .removeOnNo = {WorksheetTag(wkDepreciating)}},
        ScreenRow{
            .screen =
                2043,
            .className = "TQCGT_81",
            .helpContext = 345,
            .question = {"<T1>During the income year, did you:",
                         "<X0>•<X10>stop owning a <C12;T5;J350>depreciating asset<.;T1>; or",
                         "<X0>•<X10>stop using a <C12;T5;J350>depreciating asset<.;T1> and "
                         "expect never to use it again; or",
                         "<X0>•<X10>after acquiring a <C12;T5;J350>depreciating asset<.;T1>, "
                         "not use it and intend never to use it?<.>"},
            .notes =
                {"Each of these is a balancing adjustment event. For the part of the asset's "
                 "use that was taxable, the balancing adjustment is income or a deduction, not "
                 "a capital gain or loss.",
                 "CGT event K7 gives a capital gain or loss only to the extent the asset was "
                 "used for a non-taxable purpose, such as private use: the difference between "
                 "its termination value and its cost, times that proportion. A gain or loss on "
                 "a car or motor cycle is disregarded."},
            .yes = 2045,
            .no = 2052,
            .worksheet = wkDepreciating,
            .markerYes = 8,
            .markerNo = 8,
            .removeOnNo = {WorksheetTag(wkDepreciating)}},
        EventSection{
            .worksheet =
                wkDepreciating,
            .screens = {{2045, EventStep::Registration},
                        {2046, EventStep::Disposal},
                        {2047, EventStep::CostBase},
                        {2048, EventStep::CostElements},
                        {2049, EventStep::RollOver},
                        {2050, EventStep::Gain}},
            .anotherEvent =
                {.screen = 2051,
                 .className =
                     "TQCGT_82",
                 .caption = 'C',
                 .helpContext = 345,
                 .question =
                     {"<T1>In relation to any other depreciating asset you held during the "
                      "income year, did you:",
                      "<X0>•<X10>stop owning the depreciating asset; or",
                      "<X0>•<X10>stop using the depreciating asset and expect never to use it "
                      "again; or",
                      "<X0>•<X10>after acquiring the depreciating asset, not use it and intend "
                      "never to use it?<.>"},
                 .no = 2052}},
        ScreenRow{.screen = 2052,
                  .className = "TQCGT_45a",
                  .caption = 'B',
                  .helpContext = 8,
                  .topic = "Personal use or collectable assets",
                  .question = {"<T1>Did you own or have an <C12;T5;J231>interest<.;T1> in a "
                               "<C12;T5;J141>personal use asset<.;T1> or "
                               "<C12;T5;J107>collectable <.;T1>that is not a depreciating ",
                               "asset?<.>"},
                  .yes = 2053,
                  .no = 2062,
                  .markerYes = 6,
                  .markerNo = 6,
                  .removeOnNo = {WorksheetTag(wkPersonalUse)}},
        ScreenRow{
            .screen =
                2053,
            .className = "TQCGT_45",
            .helpContext = 8,
            .question = {"<T1>Did any of the CGT events listed below happen to any "
                         "<C12;T5;J141>personal use<.;T1> or <C12;T5;J107>collectable "
                         "assets<.;T1> in",
                         "which you had an <C12;T5;J231>interest<.;T1>?<.>"},
            .notes =
                {"Gains on personal use assets acquired for $10,000 or less and on collectables "
                 "acquired for $500 or less are disregarded. Losses on personal use assets are "
                 "always disregarded; losses on collectables can only reduce gains on "
                 "collectables. Items that make up a set count as one asset, and cars and motor "
                 "cycles are exempt.",
                 "<X0>•<X10>A1 - you sold or gave away the asset",
                 "<X0>•<X10>C1 - the asset was lost or destroyed (insurance money received is "
                 "the proceeds)",
                 "<X0>•<X10>C2 - an option or right you held to acquire a collectable expired "
                 "or was cancelled",
                 "<X0>•<X10>I1 - you stopped being a resident (assets without the necessary "
                 "connection)"},
            .yes = 2055,
            .no = 2062,
            .worksheet = wkPersonalUse,
            .markerYes = 6,
            .markerNo = 6,
            .removeOnNo = {WorksheetTag(wkPersonalUse)}},
        EventSection{
            .worksheet =
                wkPersonalUse,
            .screens = {{2055, EventStep::Registration},
                        {2056, EventStep::CostBase},
                        {2057, EventStep::CostElements},
                        {2058, EventStep::Disposal},
                        {2059, EventStep::RollOver},
                        {2060, EventStep::Gain}},
            .anotherEvent =
                {.screen = 2061,
                 .className =
                     "TQCGT_46",
                 .helpContext = 8,
                 .question =
                     {"<T1>Did you have another CGT event happen to a personal use asset or "
                      "collectable (other than ",
                      "a depreciating asset) that you owned or had an interest in where the "
                      "capital gain or capital ",
                      "loss is not disregarded?<.>"},
                 .no = 2062}},
        ScreenRow{
            .screen =
                2062,
            .className = "TQCGT_47a",
            .helpContext = 11,
            .topic = "Other assets not mentioned",
            .question = {"<T1>Did you own or have an interest in any of the following CGT "
                         "assets during the ",
                         "income year:<.>"},
            .notes =
                {"<X0>•<X10>intangible property, such as goodwill, copyright, a patent or a "
                 "licence;",
                 "<X0>•<X10>contractual or other legal or equitable rights, such as a debt owed "
                 "to you;",
                 "<X0>•<X10>a lease of which you are the lessee;",
                 "<X0>•<X10>any other CGT asset not mentioned before, such as an interest in a "
                 "partnership."},
            .yes = 2063,
            .no = 2072,
            .markerYes = 7,
            .markerNo = 7,
            .removeOnNo = {WorksheetTag(wkOtherAssets)}},
        ScreenRow{
            .screen =
                2063,
            .className = "TQCGT_47",
            .helpContext = 11,
            .question = {"<T1>Did any of the following CGT events happen to these assets?<.>"},
            .notes =
                {"Rights you created yourself and leases you granted as lessor are entered "
                 "under Creation of rights; money received for an asset where no other event "
                 "applies, under Other receipts.",
                 "<X0>•<X10>A1 - you sold, assigned or gave away the asset, e.g. goodwill when "
                 "selling a business",
                 "<X0>•<X10>C1 - the asset was lost or destroyed",
                 "<X0>•<X10>C2 - a right, licence, lease, debt or option you held ended: it was "
                 "cancelled,",
                 "<X10>surrendered, released, discharged, redeemed or expired",
                 "<X0>•<X10>F4 - as lessee you received a payment for changing or waiving a "
                 "term of your lease",
                 "<X0>•<X10>K4 - the asset became trading stock and you elected to treat it as "
                 "sold",
                 "<X0>•<X10>I1 - you stopped being a resident (assets without the necessary "
                 "connection)",
                 "<X0>•<X10>K3 - the owner died and the asset passed to an exempt entity, a "
                 "complying super",
                 "<X10>fund or, for an asset without the necessary connection, a foreign resident"},
            .yes = 2065,
            .no = 2072,
            .worksheet = wkOtherAssets,
            .markerYes = 7,
            .markerNo = 7,
            .removeOnNo = {WorksheetTag(wkOtherAssets)}},
        EventSection{.worksheet = wkOtherAssets,
                     .screens = {{2065, EventStep::Registration},
                                 {2066, EventStep::CostBase},
                                 {2067, EventStep::CostElements},
                                 {2068, EventStep::Disposal},
                                 {2069, EventStep::RollOver},
                                 {2070, EventStep::Gain}},
                     .anotherEvent =
                         {.screen = 2071,
                          .className = "TQCGT_48",
                          .helpContext = 11,
                          .question =
                              {"<T1>Did you have another CGT event happen to intangible "
                               "property, contractual or other rights, ",
                               "leases or other assets that you owned or had an interest in?<.>"},
                          .no = 2072}},
        ScreenRow{.screen = 2072,
                  .className = "TQCGT_49a",
                  .helpContext = 10,
                  .topic = "Creation of rights",
                  .question = {"<T1>Did you create any rights in another entity during the year or "
                               "did you as a lessor receive",
                               "or make a payment for changing a lease?<.>"},
                  .yes = 2073,
                  .no = 2096,
                  .markerYes = 8,
                  .markerNo = 8,
                  .removeOnNo = {WorksheetTag(wkRights)}},
        ScreenRow{
            .screen =
                2073,
            .className = "TQCGT_49",
            .helpContext = 10,
            .question = {"<T1>Did any of the CGT events listed below happen in relation to the "
                         "rights you created in ",
                         "another entity?<.>"},
            .notes =
                {"Gains from events D1, D2, D3, F1, F2 and F5 cannot be reduced by the CGT "
                 "discount.",
                 "<X0>•<X10>D1 - you created a contractual or other right, such as a promise "
                 "not to compete",
                 "<X0>•<X10>D2 - you granted an option, such as an option to buy your land (the "
                 "gain is",
                 "<X10>disregarded if the option is later exercised)",
                 "<X0>•<X10>D3 - you granted a right to income from operating your mining "
                 "entitlement",
                 "<X0>•<X10>F1 - as lessor you granted, renewed or extended a lease, for "
                 "example for a premium",
                 "<X0>•<X10>F2 - you granted a lease of land likely to last 50 years or more "
                 "and chose this event",
                 "<X0>•<X10>F3 - as lessor you paid the lessee to change or waive a term of the "
                 "lease (a loss)",
                 "<X0>•<X10>F5 - as lessor you received a payment for changing or waiving a "
                 "term of the lease"},
            .yes = 2075,
            .no = 2096,
            .worksheet = wkRights,
            .markerYes = 8,
            .markerNo = 8,
            .removeOnNo = {WorksheetTag(wkRights)}},
        ScreenRow{.screen = 2074,
                  .className = "TQCGT_08g",
                  .helpContext = 15,
                  .showPrev = false,
                  .question = {"<T1>Completing details for CGT events that happen to rights you "
                               "created in another entity.<.>"},
                  .notes = {"For each event enter a description, the capital proceeds and the "
                            "incidental costs of creating the right, and say whether a roll-over "
                            "applies.",
                            "The capital gain is the proceeds less those costs; when the costs are "
                            "more, the difference is a capital loss. There is no indexation, and "
                            "gains from events D1, D2, D3, F1, F2 and F5 cannot be discounted.",
                            "<X10><C12;T4;J10>More about rights created in another entity<.>"},
                  .hidePrev = true},
        ScreenRow{.screen = 2075,
                  .className = "TQCGT_36a",
                  .helpContext = 374,
                  .routes = {{kRouteAnotherEvent, 2081}}},
        ScreenRow{.screen = 2081,
                  .className = "TQCGT_50",
                  .caption = 'C',
                  .helpContext = 10,
                  .question = {"<T1>Did you create other rights in an entity?<.>"},
                  .yes = 2075,
                  .no = 2096,
                  .clearReopenRow = true,
                  .hidePrev = true},
        ScreenRow{
            .screen =
                2096,
            .className = "TQCGT_35",
            .helpContext = 82,
            .topic = "Other receipts",
            .question = {"<T1>Did you receive money or property as a result of an act, "
                         "transaction or event relating to ",
                         "a CGT asset you owned or had an interest in during the income year?<.>"},
            .notes =
                {"This is CGT event H2: money or property received because of something done in "
                 "relation to an asset you own, where no other CGT event applies and the "
                 "asset's cost base is not adjusted, for example a payment for agreeing to vary "
                 "or waive a right attached to it.",
                 "The capital gain is the amount received less your incidental costs; it cannot "
                 "be indexed or discounted."},
            .yes = 2097,
            .no = 2101,
            .worksheet = wkReceipts,
            .markerYes = 13,
            .markerNo = 13,
            .removeOnNo = {WorksheetTag(wkReceipts)}},
        ScreenRow{.screen = 2097,
                  .className = "TQCGT_36",
                  .helpContext = 262,
                  .routes = {{kRouteAnotherEvent, 2098}}},
        ScreenRow{
            .screen =
                2098,
            .className = "TQCGT_37",
            .helpContext = 82,
            .showPrev = false,
            .question = {"<T1>Did you receive any other money or property as a result of an act, "
                         "transaction or event ",
                         "relating to a CGT asset you owned or had an interest in during the "
                         "income year?<.>"},
            .yes = 2097,
            .no = 2101,
            .clearReopenRow = true,
            .hidePrev = true},
        ScreenRow{.screen = 2101,
                  .className = "TQCGT02_05",
                  .helpContext = 346,
                  .topic = "Manual calculation table"},
        ScreenRow{.screen = 2102,
                  .className = "TQCGT_57",
                  .helpContext = 33,
                  .topic = "Application of choices",
                  .question = {"<T1>Your net capital gain<.>"},
                  .notes =
                      {"The next screen presents your net capital gain for 2003-04.",
                       "For each event you may use the indexation or the discount method where "
                       "both are available, and you may choose which capital gains your capital "
                       "losses reduce.",
                       "You can let Tesmo make all these choices, make some of them yourself, "
                       "or make them all yourself.",
                       "<X10><T1>Important note<.> - When Tesmo makes all choices, it may not in "
                       "all circumstances",
                       "<X10>calculate the lowest possible gain where capital losses are available "
                       "to reduce",
                       "<X10>capital gains. The lowest net capital gain can be found with the "
                       "\"Find the lowest",
                       "<X10>net capital gain\" button on the next screen.",
                       "<X10><C12;T4;J33>More about choosing methods and applying losses<.>"}},
        ScreenRow{.screen = 2103, .className = "TQCGT_62", .helpContext = 33, .showNext = false},
        ScreenRow{.screen = 2104, .className = "TQCGT_64", .helpContext = 34},
        ScreenRow{.screen = 2105, .className = "TQCGT_65", .helpContext = 34},
        ScreenRow{.screen = 2106, .className = "TQCGT_66", .helpContext = 35},
        ScreenRow{.screen = 2107,
                  .className = "TQCGT_67",
                  .helpContext = 37,
                  .next = kAfterInterview},
    };
    return entries;
}

const std::vector<ScreenRow>& Rows() {
    static const std::vector<ScreenRow> rows = [] {
        std::vector<ScreenRow> out;
        for (const TableEntry& entry : Entries()) {
            if (const auto* section = std::get_if<EventSection>(&entry)) {
                std::vector<ScreenRow> generated = EventSectionRows(*section);
                out.insert(out.end(), generated.begin(), generated.end());
            } else {
                out.push_back(std::get<ScreenRow>(entry));
            }
        }
        return out;
    }();
    return rows;
}

} // namespace

const char* CaptionText(char caption) {
    switch (caption) {
    case 'A':
        return kCaptionA;
    case 'B':
        return kCaptionB;
    case 'C':
        return kCaptionC;
    default:
        return "";
    }
}

std::span<const ScreenRow> ScreenTable() {
    return Rows();
}

const std::vector<std::reference_wrapper<const ScreenRow>>& QuestionTable() {
    static const auto questions = [] {
        std::vector<std::reference_wrapper<const ScreenRow>> out;
        for (const ScreenRow& row : Rows())
            if (row.isQuestionScreen()) out.emplace_back(row);
        return out;
    }();
    return questions;
}

const QuestionRow* FindQuestionRow(std::string_view className) {
    const auto& rows = QuestionTable();
    auto it = std::find_if(rows.begin(), rows.end(),
                           [&](const ScreenRow& r) { return r.className == className; });
    return it == rows.end() ? nullptr : &it->get();
}

const QuestionRow* FindQuestionRowByScreen(int screen) {
    const auto& rows = QuestionTable();
    auto it = std::find_if(rows.begin(), rows.end(),
                           [&](const ScreenRow& r) { return r.screen == screen; });
    return it == rows.end() ? nullptr : &it->get();
}

std::span<const EventSection> EventSections() {
    static const std::vector<EventSection> sections = [] {
        std::vector<EventSection> out;
        for (const TableEntry& entry : Entries())
            if (const auto* section = std::get_if<EventSection>(&entry)) out.push_back(*section);
        return out;
    }();
    return sections;
}

std::span<const ScreenSpec> ScreenSpecs() {
    static const std::vector<ScreenSpec> specs = [] {
        const std::vector<ScreenRow>& rows = Rows();
        std::vector<ScreenSpec> out;
        // The screens after an events question edit the rows of the worksheet it selects, up
        // to the next question: an interview resumed on one of them knows its worksheet.
        int section = 0;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const ScreenRow& row = rows[i];
            if (row.isQuestion()) section = row.worksheet;
            const int following = i + 1 < rows.size() ? rows[i + 1].screen : 0;
            out.push_back({.number = row.screen,
                           .className = row.className,
                           .caption = CaptionText(row.caption),
                           .helpContext = row.helpContext,
                           .showNext = row.showNext,
                           .showPrev = row.showPrev,
                           .topic = row.topic ? row.topic : "",
                           .routes = row.routes,
                           .worksheet = row.isQuestion() ? 0 : section,
                           .next = row.next != 0 ? row.next : following});
        }
        return out;
    }();
    return specs;
}

void InstallInterviewScreens() {
    InstallScreenTable(ScreenSpecs());
}

} // namespace cgt
