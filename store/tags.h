#pragma once
// Named field tags: every tag number the code means is named here once. The return-wide tags
// live in namespace cgt::tag; the scratch tags of an open event row (710–749, 1100–1199) in
// cgt::tag::event, and those of the open schedule row in cgt::tag::schedule. The worksheets'
// item-list tags (751 + kind, base/worksheet_kinds.h) are at the end.
//
// Each list is an X-macro of (name, number) so that the constants and the table that tests and
// the tag inspector read come from one source.

#include <span>
#include <string_view>

#include "base/worksheet_kinds.h"

#include "base/worksheet_kinds.h"

// Return-wide tags.
#define CGT_RETURN_TAGS(X)                                                                         \
    X(Identifier, 1)              /* the taxpayer's identifier; its digits key the data file */    \
    X(TotalCurrentYearGains, 169) /* total current-year capital gains */                           \
    X(GainsReported, 170)         /* checkbox pair: the choice table has source rows */            \
    X(NoGainsReported, 171)       /* and the partner: it has none */                               \
    X(NetCapitalGain, 174)        /* net capital gain */                                           \
    X(LossesCarriedForward, 175)  /* unapplied net capital losses carried forward */               \
    X(HostTaxpayerOtherName, 396) /* written by the host; printed after the name */                \
    X(HostTaxpayerName, 397)      /* written by the host */                                        \
    X(Notes, 399)                 /* the notes pad, a list */                                      \
    X(ProgressMarker, 588)        /* the highest asset-class topic answered */                     \
    X(ConcessionSources, 801)     /* the choice table's concession source list */                  \
    X(FifteenYearExemptList, 802) /* the gains disregarded by the 15-year exemption */             \
    X(ChoiceTable, 803)           /* the choice table's rows */                                    \
    X(UnappliedCollectableLosses, 920) /* unapplied net capital losses of earlier years */         \
    X(UnappliedOtherLosses, 921)                                                                   \
    X(FileVersion, 960)             /* 60012 on every save */                                      \
    X(TotalCurrentYearLosses, 983)  /* total current-year capital losses */                        \
    X(TransferredInLosses, 1065)    /* capital losses transferred in */                            \
    X(ManualCalculationTable, 1201) /* the manual calculation table, 21 strings a row */           \
    X(TrustDistributionTable, 1215) /* the trust distribution table, 41 strings a trust */         \
    X(FormCode, 1300)               /* "EI" on every save */                                       \
    X(LockMarker, 1453)             /* LockMarker once the lodged return was saved */              \
    X(LodgmentDate, 1478)                                                                          \
    X(LodgmentReference, 1479)                                                                     \
    X(LodgmentTime, 1490)                                                                          \
    X(LodgedMarker, 1491)        /* LockMarker when the return was lodged */                       \
    X(ChoiceSourcesDigest, 1500) /* what the results were worked out from (choice_records.h) */

// The scratch tags of the event row being edited.
#define CGT_EVENT_TAGS(X)                                                                          \
    X(Name, 710)              /* the row's name: the asset's description */                        \
    X(TaxableUsePercent, 711) /* depreciating assets */                                            \
    X(SumOfReductions, 712)   /* depreciating assets */                                            \
    X(TotalDecline, 713)      /* depreciating assets */                                            \
    X(AssetType, 714)         /* asset type code, two characters */                                \
    X(DepreciatingCost, 715)  /* depreciating assets */                                            \
    X(IndexedCost, 716)       /* depreciating assets: the cost in each result column */            \
    X(DiscountCost, 717)                                                                           \
    X(OtherCost, 718)                                                                              \
    X(ConcessionElections, 719) /* small business concessions, a list */                           \
    X(RollOverYes, 720)         /* the gain or loss is eligible for roll-over */                   \
    X(RollOverNo, 721)                                                                             \
    X(MarriageBreakdownYes, 722) /* the roll-over results from a marriage breakdown */             \
    X(MarriageBreakdownNo, 723)                                                                    \
    X(ScripForScripYes, 724)                                                                       \
    X(ScripForScripNo, 725)                                                                        \
    X(AcquisitionDate, 726)                                                                        \
    X(WithholdIndexation, 727)                                                                     \
    X(IndexedCostBaseAllowed, 728) /* read only: indexes an asset acquired from 21/9/1999 */       \
    X(CostBaseDate, 729)           /* date of the section 2 cost base */                           \
    X(RolledOverAcquisitionDate, 730)                                                              \
    X(DeceasedEstate, 731)      /* 1 Yes, 2 No */                                                  \
    X(AcquiredAfterCutOff, 732) /* acquired on 21/9/1999 after 11.45am */                          \
    X(AcquiredBeforeCutOff, 733)                                                                   \
    X(SectionTwoIndexed, 734) /* section 2 cost bases */                                           \
    X(SectionTwoNonIndexed, 735)                                                                   \
    X(SectionTwoReduced, 736)                                                                      \
    X(CostElements, 737) /* eight strings per element */                                           \
    X(Payments, 738)     /* non-assessable payments, a list */                                     \
    X(EventDate, 739)                                                                              \
    X(EventAfterCutOff, 740)                                                                       \
    X(EventBeforeCutOff, 741) /* the event on 21/9/1999 took place before 11.45am */               \
    X(CapitalProceeds, 742)   /* the termination value for depreciating assets */                  \
    X(PercentDisposed, 743)                                                                        \
    X(DaysNotExempt, 744)                                                                          \
    X(TotalDays, 745)                                                                              \
    X(FifteenYearExemption, 746)                                                                   \
    X(LossCost, 747)                                                                               \
    X(PaymentEventCode, 748) /* the CGT event of the non-assessable payments: G1 or E4 */          \
    X(RawIndexedResult, 749) /* depreciating assets: proceeds less cost per column */              \
    X(EventCode, 1100)                                                                             \
    X(BaseDate, 1101)                                                                              \
    X(AssetRegisterGrid, 1102)                                                                     \
    X(WorksheetGrid, 1105)                                                                         \
    X(NetAmountTotal, 1106) /* the worksheet grid's column totals */                               \
    X(CostBaseTotal, 1107)                                                                         \
    X(ReducedAmountTotal, 1108)                                                                    \
    X(BalancingNonIndexed, 1109) /* balancing adjustments (cost elements 3B, 6C, 6R) */            \
    X(BalancingIndexed, 1110)                                                                      \
    X(BalancingReduced, 1111)                                                                      \
    X(CostBaseNonIndexed, 1112)                                                                    \
    X(CostBaseIndexed, 1113)                                                                       \
    X(ReducedCostBase, 1114)                                                                       \
    X(NonAssessableNonIndexed, 1115) /* non-assessable distribution adjustment */                  \
    X(NonAssessableIndexed, 1116)                                                                  \
    X(NonAssessableReduced, 1117)                                                                  \
    X(AdjustedCostBaseNonIndexed, 1118) /* the worksheet's cost bases after that adjustment */     \
    X(AdjustedCostBaseIndexed, 1119)                                                               \
    X(AdjustedReducedCostBase, 1120)                                                               \
    X(EventDateCell, 1121) /* the worksheet's event date, index number and proceeds */             \
    X(EventIndexNumber, 1122)                                                                      \
    X(ProceedsCell, 1123)                                                                          \
    X(PercentDisposedCell, 1124)                                                                   \
    X(DaysNotExemptCell, 1125)                                                                     \
    X(TotalDaysCell, 1126)                                                                         \
    X(RawDiscountResult, 1127)                                                                     \
    X(RawOtherResult, 1128)                                                                        \
    X(IndexedProceeds, 1130) /* the result block: proceeds, cost base and result per method */     \
    X(IndexedCostBase, 1131)                                                                       \
    X(IndexedGain, 1132)                                                                           \
    X(DiscountProceeds, 1133)                                                                      \
    X(DiscountCostBase, 1134)                                                                      \
    X(DiscountGain, 1135)                                                                          \
    X(OtherProceeds, 1136) /* other method; receipts and rights: the capital proceeds */           \
    X(OtherCostBase, 1137) /* other method; receipts and rights: the incidental costs */           \
    X(OtherGain, 1138)                                                                             \
    X(LossCostBase, 1139)                                                                          \
    X(LossProceeds, 1140)                                                                          \
    X(LossesApplied, 1129) /* the choice table's losses applied to the event's rows, a list */     \
    X(CapitalLoss, 1141)                                                                           \
    X(FirstMessage, 1142)                                                                          \
    X(SecondMessage, 1143)                                                                         \
    X(RawLossResult, 1144)                                                                         \
    X(MethodChoice, 1145)                                                                          \
    X(ReplacementMarketValue, 1146) /* scrip for scrip: market value of the replacement */         \
    X(CashConsideration, 1147)      /* scrip for scrip: cash and other consideration */            \
    X(DefermentChoice, 1148)                                                                       \
    X(IndexedTaxableUse, 1149) /* depreciating assets: taxable use per column */                   \
    X(PaymentAssetType, 1150)  /* the payments' asset type code */                                 \
    X(AdjustedCostBaseDate, 1151)                                                                  \
    X(AdjustedNonIndexed, 1152)                                                                    \
    X(AdjustedIndexed, 1153)                                                                       \
    X(AdjustedReduced, 1154)                                                                       \
    X(PaymentDiscountGainThisYear, 1155) /* gains from non-assessable payments */                  \
    X(PaymentDiscountGainPriorYears, 1156)                                                         \
    X(PaymentIndexedGainThisYear, 1157)                                                            \
    X(PaymentIndexedGainPriorYears, 1158)                                                          \
    X(PaymentOtherGainThisYear, 1159)                                                              \
    X(PaymentOtherGainPriorYears, 1160)                                                            \
    X(DiscountTaxableUse, 1161)                                                                    \
    X(OtherTaxableUse, 1162)                                                                       \
    X(LossTaxableUse, 1165)                                                                        \
    X(IndexedReductions, 1166) /* depreciating assets: reductions over decline */                  \
    X(DiscountReductions, 1167)                                                                    \
    X(OtherReductions, 1168)                                                                       \
    X(LossReductions, 1169)                                                                        \
    X(TrustDistribution, 1170)       /* the row records a trust distribution's components */       \
    X(IndexedAdjustedResult, 1171)   /* depreciating assets: the result for taxable use */         \
    X(TrustCollectableIndexed, 1183) /* trust components as the trustee reports them */            \
    X(TrustOtherIndexed, 1184)                                                                     \
    X(TrustActiveIndexed, 1185)                                                                    \
    X(TrustCollectableDiscount, 1186)                                                              \
    X(TrustOtherDiscount, 1187)                                                                    \
    X(TrustActiveDiscount, 1188)                                                                   \
    X(TrustCollectableOther, 1189)                                                                 \
    X(TrustOtherOther, 1190)                                                                       \
    X(TrustActiveOther, 1191)                                                                      \
    X(DiscountAdjustedResult, 1172)                                                                \
    X(OtherAdjustedResult, 1193)                                                                   \
    X(LossAdjustedResult, 1194)                                                                    \
    X(DisposalResult, 1196) /* the event has a disposal result (proceeds above 0) */               \
    X(ImportSource, 1197)   /* an imported event's source: file, sale line, parcel */              \
    X(PaymentGainThisYear, 1198)                                                                   \
    X(AdjustmentGrid, 1199)

// The CGT schedule: row 1 of worksheet 469 in the scratch tags while it is open. Amounts are
// whole dollars; the three method columns are index, discount and other.
#define CGT_SCHEDULE_TAGS(X)                                                                       \
    X(Name, 710)                 /* the row's name */                                              \
    X(NonActiveSharesIndex, 711) /* Part A: gains from CGT assets and events, by method */         \
    X(NonActiveSharesDiscount, 712)                                                                \
    X(NonActiveSharesOther, 713)                                                                   \
    X(NonActiveRealEstateIndex, 714)                                                               \
    X(NonActiveRealEstateDiscount, 715)                                                            \
    X(NonActiveRealEstateOther, 716)                                                               \
    X(NonActiveOtherIndex, 717)                                                                    \
    X(NonActiveOtherDiscount, 718)                                                                 \
    X(NonActiveOtherOther, 719)                                                                    \
    X(CollectablesIndex, 720) /* after the collectable losses applied */                           \
    X(CollectablesDiscount, 721)                                                                   \
    X(CollectablesOther, 722)                                                                      \
    X(ActiveSharesIndex, 723)                                                                      \
    X(ActiveSharesDiscount, 724)                                                                   \
    X(ActiveSharesOther, 725)                                                                      \
    X(ActiveRealEstateIndex, 726)                                                                  \
    X(ActiveRealEstateDiscount, 727)                                                               \
    X(ActiveRealEstateOther, 728)                                                                  \
    X(ActiveOtherIndex, 729)                                                                       \
    X(ActiveOtherDiscount, 730)                                                                    \
    X(ActiveOtherOther, 731)                                                                       \
    X(TotalGainsIndex, 732) /* total current year capital gains */                                 \
    X(TotalGainsDiscount, 733)                                                                     \
    X(TotalGainsOther, 734)                                                                        \
    X(LossesShares, 735) /* Part B: current year capital losses */                                 \
    X(LossesRealEstate, 736)                                                                       \
    X(LossesOther, 737)                                                                            \
    X(LossesTotal, 738)                                                                            \
    X(CurrentLossesAppliedIndex, 739) /* Part D: capital losses applied */                         \
    X(CurrentLossesAppliedDiscount, 740)                                                           \
    X(CurrentLossesAppliedOther, 741)                                                              \
    X(CurrentLossesAppliedTotal, 742)                                                              \
    X(PriorLossesAppliedIndex, 743)                                                                \
    X(PriorLossesAppliedDiscount, 744)                                                             \
    X(PriorLossesAppliedOther, 745)                                                                \
    X(PriorLossesAppliedTotal, 746)                                                                \
    X(TransferredLossesAppliedIndex, 747)                                                          \
    X(TransferredLossesAppliedDiscount, 748)                                                       \
    X(TransferredLossesAppliedOther, 749)                                                          \
    X(TransferredLossesAppliedTotal, 1100)                                                         \
    X(LossesAppliedIndex, 1101)                                                                    \
    X(LossesAppliedDiscount, 1102)                                                                 \
    X(LossesAppliedOther, 1103)                                                                    \
    X(LossesAppliedTotal, 1104)                                                                    \
    X(NonActiveAfterLossesIndex, 1105) /* Part E: gains after losses */                            \
    X(NonActiveAfterLossesDiscount, 1106)                                                          \
    X(NonActiveAfterLossesOther, 1107)                                                             \
    X(ActiveAfterLossesIndex, 1108)                                                                \
    X(ActiveAfterLossesDiscount, 1109)                                                             \
    X(ActiveAfterLossesOther, 1110)                                                                \
    X(AfterLossesIndex, 1111)                                                                      \
    X(AfterLossesDiscount, 1112)                                                                   \
    X(AfterLossesOther, 1113)                                                                      \
    X(DiscountNonActive, 1114) /* Part F: the CGT discount */                                      \
    X(DiscountActive, 1115)                                                                        \
    X(ActiveAssetReductionIndex, 1116) /* Part G: small business concessions */                    \
    X(ActiveAssetReductionDiscount, 1117)                                                          \
    X(ActiveAssetReductionOther, 1118)                                                             \
    X(RetirementExemptionIndex, 1119)                                                              \
    X(RetirementExemptionDiscount, 1120)                                                           \
    X(RetirementExemptionOther, 1121)                                                              \
    X(SmallBusinessRollOverIndex, 1122)                                                            \
    X(SmallBusinessRollOverDiscount, 1123)                                                         \
    X(SmallBusinessRollOverOther, 1124)                                                            \
    X(ConcessionsIndex, 1125) /* Part H: net capital gain */                                       \
    X(ConcessionsDiscount, 1126)                                                                   \
    X(ConcessionsOther, 1127)                                                                      \
    X(NetGainIndex, 1128)                                                                          \
    X(NetGainDiscount, 1129)                                                                       \
    X(NetGainOther, 1130)                                                                          \
    X(NetGainTotal, 1131)                                                                          \
    X(CarriedCollectableLosses, 1132) /* Part I: unapplied net capital losses carried forward */   \
    X(CarriedOtherLosses, 1133)                                                                    \
    X(FifteenYearExemptGains, 1134) /* Part J: small business 15-year exemption */                 \
    X(FifteenYearAssetCode, 1135)                                                                  \
    X(ScripRollOverChosen, 1136) /* Part K: scrip for scrip roll-over */                           \
    X(ScripOriginalCostBase, 1137)                                                                 \
    X(ScripReplacementValue, 1138)                                                                 \
    X(ScripCashConsideration, 1139)                                                                \
    X(ScripRollOverNotChosen, 1167)

namespace cgt {

#define CGT_DECLARE_TAG(name, number) inline constexpr int k##name = number;
namespace tag {
CGT_RETURN_TAGS(CGT_DECLARE_TAG)
namespace event {
CGT_EVENT_TAGS(CGT_DECLARE_TAG)
} // namespace event
namespace schedule {
CGT_SCHEDULE_TAGS(CGT_DECLARE_TAG)
} // namespace schedule
} // namespace tag
#undef CGT_DECLARE_TAG

// Worksheet w keeps its rows in tag 751 + w.
inline constexpr int kWorksheetTagBase = 751;
constexpr int WorksheetTag(int worksheet) {
    return kWorksheetTagBase + worksheet;
}

struct NamedTag {
    std::string_view group; // "return", "event", "schedule" or "worksheet"
    std::string_view name;
    int number;
};

// Every named tag, the worksheet item-list tags included.
std::span<const NamedTag> NamedTags();
bool IsNamedTag(int number);

} // namespace cgt
