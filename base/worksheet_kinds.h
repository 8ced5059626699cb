#pragma once
// The module's worksheets by number: the asset worksheets of the CGT events (451-462), the
// schedule and the two tables whose rows carry concession elections. The store keeps worksheet
// w's rows in tag 751 + w (store/tags.h); the rules know an event's kind by its worksheet.

namespace cgt {

#define CGT_WORKSHEET_KINDS(X)                                                                     \
    X(Shares, 451)                                                                                 \
    X(TrustInterests, 452)                                                                         \
    X(OtherTrusts, 453)                                                                            \
    X(RealEstate, 454)                                                                             \
    X(PersonalUse, 455) /* personal use assets and collectables */                                 \
    X(OtherAssets, 456) /* intangible and other assets */                                          \
    X(Rights, 457)      /* rights created in another entity */                                     \
    X(Depreciating, 458)                                                                           \
    X(SmallBusiness, 459)                                                                          \
    X(Bankruptcy, 460)                                                                             \
    X(CeasingResidency, 461)                                                                       \
    X(Receipts, 462)         /* other capital receipts, CGT event H2 */                            \
    X(Schedule, 469)         /* the CGT schedule, row 1 */                                         \
    X(ManualElections, 1201) /* concession elections of manual-table rows */                       \
    X(TrustElections, 1215)  /* concession elections of trust-table rows */

#define CGT_DECLARE_KIND(name, number) wk##name = number,
enum WorksheetKind : int { CGT_WORKSHEET_KINDS(CGT_DECLARE_KIND) };
#undef CGT_DECLARE_KIND

} // namespace cgt
