// The obstetric history, delivery and discharge record ("MDOBDEPT") printed from the real
// medrec-server: both pages as one document with every caption and value of the demo record,
// the summary and the history row; its rules on its real forms; and the faults it mends: the
// religion and a cycle code outside the table print empty, never the label's design name, and
// a cycle code that is not a number stops the print naming its field.
#include "DeliveryRoomFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace medrec;
namespace mt = medrec::testing;

namespace {

constexpr const char *kKind = "MDOBDEPT";

std::string field(int n) { return "S_STRING" + std::to_string(n); }

using ObstetricRecord = mt::DeliveryRoomTest;

TEST_F(ObstetricRecord, PrintsBothPagesOfTheDemoRecordAsOneDocument)
{
    const auto printed = printAdmission(kKind, "00004008", "20230501");
    ASSERT_TRUE(printed.printed()) << printed.failure;
    mt::ExpectNoLayoutWarnings(*printed.document);
    const auto pages = pdfPages(printed.pdf);
    ASSERT_EQ(pages.size(), 2u);

    expectCaptions(pages[0],
                   {"SEON MEDICAL CENTER, VELMORA, KOREA", "HISTORY, PHYSICAL EXAMINATION, DELIVERY, DISCHARGE", "Name",
                    "Hosp. No.", "Age", "Religion", "ADMISSIOM", "Time", "LMP", "PMP", "EDC", "Guset. Wks", "LABOR", "Interval",
                    "Duration", "Show", "(+)", "(-)", "Bleeding", "BEGAN", "Contractions", "Character", "FHR", "MEM - ", "BRANES",
                    "Intact", "Rupt", "Date", "Blood Type", "RH", "Serology", "CHEST X-RAY", "Result", "PRE-NATAL", "Wt.", "Gain",
                    "Kg", "Severe", "N/V", "Hyper-", "Tension", "Headache", "Edema", "※ OTHER", "COMPLICATIONS", "PAST OB.",
                    "HISTORY", "Para", "A/C", "Herb", "Iron pill", "Menache", "세", "Marriage", "Menstration Cycle", "일",
                    "Dulation", "Amount", "MED-SURG.", "FAMILY HISTORY", "PHYSICAL EXAMINATION", "Weight", "g", "Body type", ":",
                    "Large", "Medium", "Small", "Head", "Ears", "Nose and throat", "Mouth", "Teeth", "Dentures", "YES", "NO",
                    "Thyroid", "Breasts", "Nipples", "Lungs", "Heart", "Abdomen", "Back & Spine", "Ht. of Fundus", "Cm",
                    "Presentation", "Position", "FETAL", "Location", "LLQ", "RLQ", "RUQ", "LUQ", "Heart-Rate", "IMPRESSION", "SIGN",
                    "K.R.V Form", "OBSTETRICS DEPARTMENT"});
    expectCaptions(pages[1],
                   {"DELIVERY", "Name", "Hosp. No.", "By. Dr.", "Assistant", "DATE", "Placenta delivered Time", "PREPARATION",
                    "SCRUBBED", "(+)", "(-)", "DRAPED", "CATHETERIZED", "Position", "Station", "Dilatation", "ANESTHESIA", "Local",
                    "General", "By", "Type of", "DELIVERY  Spontaneous", "OTHER", "PLACENTA", "Spontaneous", "Other", "Condition",
                    "BLOOD LOSS", "cc", "EPISIOTOMY", "LACERATION", "REPAIR Type. suture", "MEDICATION during delivery",
                    "POST-DELIVERY", "Fundus", "BP", "P", "회", "INFANT", "1.", "2.", "3.", "Boy", "Girl", "Wt", "g", "Abn.",
                    "RESPIRATION", "Assisted", "O2(min)", "IMMEDIATE CARE", "Cord", "Eyes", "Brac. & prints Hykinone", "APGAR",
                    "점", "수", "HEART RATE", "RESP. EFFORT", "M. TONE", "REAPONSE TO", "CATHETER IN", "NOSTRIL", "COLOR", "TOTAL",
                    "Absent", "Limp", "No Response", "Blue, Pale", "Below 100", "SLow,", "Irregular", "Some flexion",
                    "of extremity", "Grimace", "Body pink", "Extremity", "Blue", "over 100", "Good crying", "Active motion",
                    "Cough or", "Sneeze", "Completely", "pink", "1분", "5분", "DISCHARGE EXAMINATION", "PUERPERIUM", "Normal",
                    "★Complications", "BREAST", "Nipples", "NURSING", "Yes", "No", "Ut.", "Normal involution", "Abnormal", "LOCHIA",
                    "★Abnormal", "Condition of", "PREINEUM", "Episiotomy or lac.", "★COMPLICATIONS", "REMARKS",
                    "ADVICE ON FAMILY PLANNING GIVEN?", "SIGNATURE OF ATTENDING PHYSICIAN", "K.R.V Form",
                    "OBSTETRICS DEPARTMENT"});
    expectPrintedWhole(
        printed, pages,
        {{"qrl_patname", "오유나"}, {"qrl_Hospno", "00004008"}, {"qrl_age", "28"}, {"qrl_religion", ""},
         {"qrl_admdate", "2023-05-01"}, {"qrl_lmp", "2022-08-12"}, {"qrl_pmp", "regular"}, {"qrl_edc", "2023-05-19"},
         {"qrl_gestwks", "37+3"}, {"qrl_laborTm", "2023-05-01 06:00"}, {"qrl_interval", "3-4 min"},
         {"qrl_duration", "50-60 sec"}, {"qrl_contract", "q 3-4 min, 50-60 sec"}, {"qrl_charact", "Moderate, regular"},
         {"qrl_fhr", "140-150 bpm"}, {"qrl_memdate", "2023-05-01 10:30"},
         {"qrl_bldabo", "VDRL non-reactive, HBsAg negative"}, {"qrl_xraydate", "2023-04-25"},
         {"qrl_xrayrslt", "No active lung lesion"}, {"qrl_prewt", "12.6"},
         {"qrm_othcomp", "Gestational diabetes mellitus diagnosed at 28 weeks, controlled by diet; mild iron deficiency "
                         "anaemia (Hb 10.4 g/dL) treated with oral iron; dichorionic diamniotic twin pregnancy followed "
                         "at the high-risk clinic."},
         {"qrl_pastpara", "1-0-1-1"}, {"qrl_pastal", "1"}, {"qrl_menache", "13"}, {"qrl_marriage", "26"},
         {"qrl_menscycl", "irregular"}, {"qrl_mensintv", "30"}, {"qrl_mensdula", "5"}, {"qrl_mensamt", "Moderate"},
         {"qrm_surghis", "Appendectomy (2015). No other medical or surgical illness. Penicillin allergy (urticaria)."},
         {"qrm_fmhis", "Mother: hypertension. Father: type 2 diabetes mellitus. No family history of twins or "
                       "congenital anomaly."},
         {"qrl_weight", "66800"}, {"qrl_head", "Normocephalic"}, {"qrl_ears", "Clear"}, {"qrl_nosnthr", "Not injected"},
         {"qrl_mouth", "Moist mucosa"}, {"qrl_teeth", "Good"}, {"qrl_thyroid", "Not enlarged"},
         {"qrl_breast", "Symmetrical, soft"}, {"qrl_nipple", "Everted"}, {"qrl_lung", "Clear"},
         {"qrl_heart", "Regular rhythm"}, {"qrl_abdomen", "Gravid, soft"}, {"qrl_bacnspn", "No CVA tenderness"},
         {"qrl_hof", "36"}, {"qrl_present", "Vertex / vertex"}, {"qrl_position", "LOA"},
         {"qrl_fethfhr", "146 / 138 bpm"},
         {"qrl_fetalimp1", "IUP 37+3 wks, dichorionic diamniotic twins, G3P1, latent phase of labour"},
         {"qrl_fetalimp2", "GDM A1 (diet controlled)"}, {"qrl_fetalimp3", "Mild iron deficiency anaemia"},
         {"qrl_fetalimp4", "Previous appendectomy"},
         {"qrl_fetalimp5", "Plan: induction with oxytocin, vaginal delivery expected"},
         {"QRLabel237", "오유나"}, {"QRLabel241", "00004008"}, {"qrl_bydr", "정수연"}, {"qrl_assistnr", "최지현"},
         {"qrl_delvdate", "2023-05-01 15:23 / 2023-05-01 15:41 / "}, {"qrl_plcdelvt", "2023-05-01 15:50"},
         {"qrl_preppos", "Lithotomy"}, {"qrl_prepstat", "+2"}, {"qrl_prepdila", "10 cm"}, {"qrl_anedr", "정수연"},
         {"qrl_delvtxt", "Twin A vertex NSVD, twin B vertex NSVD"},
         {"qrl_placond", "Complete, dichorionic diamniotic"}, {"qrl_bldloss", "550"},
         {"qrl_epst", "Right mediolateral"}, {"qrl_lacerat", "2nd degree"},
         {"qrm_reptpsut", "Continuous 2-0 Vicryl for the vaginal mucosa, interrupted 2-0 Vicryl for the muscle layer, "
                          "subcuticular 3-0 Vicryl for the skin; haemostasis secured."},
         {"qrl_meddelv", "Oxytocin 20 IU in 1 L Hartmann's solution; methylergometrine 0.2 mg IM after the placenta"},
         {"qrl_pdelvfund", "Firm, 1 FB below umbilicus"}, {"qrl_pdelvbp", "124/78"}, {"qrl_pdelvp", "84"},
         {"qr1_infantwt", "2680"}, {"qr1_infantwt2", "2510"}, {"qr1_infantwt3", ""}, {"qr1_infantabn", "None"},
         {"qr1_infantabn2", "Small for gestational age"}, {"qr1_infantabn3", ""}, {"qrl_respiro2", "0"},
         {"qrl_respiro2b", "2"}, {"qrl_respiro2c", ""}, {"qrl_hr1", "2"}, {"qrl_re1", "2"}, {"qrl_mt1", "1"},
         {"qrl_rcn1", "2"}, {"qrl_col1", "1"}, {"qrl_to1", "8"}, {"qrl_hr2", "2"}, {"qrl_re2", "2"}, {"qrl_mt2", "2"},
         {"qrl_rcn2", "2"}, {"qrl_col2", "1"}, {"qrl_to2", "9"}, {"qrl_discdate", "2023-05-04 10:00"},
         {"qrl_discomp1", "None"}, {"qrl_dsbreast", "Engorged, soft"}, {"qrl_dsvipple", "Everted, no fissure"},
         {"qrl_utinvlab", "Fundus 2 FB below umbilicus"}, {"qrl_lochiaab", "Rubra, moderate amount"},
         {"qrl_condperi", "Healing well"}, {"qrl_condepis", "Intact, no haematoma"}, {"qrl_discomp2", "None"},
         {"qrl_remark", "Twins to the nursery; follow-up at the obstetric clinic in one week for the stitch check."},
         {"qrl_signdr", "정수연"}});
    // The design name of a label never prints.
    for (const auto &page : pages)
        for (const char *name : {"qrl_religion", "qrl_pmp", "qrl_menscycl"})
            EXPECT_EQ(page.find(name), std::string::npos) << name;

    expectSummaryAndHistory(printed, kKind, {"00004008", "20230501", "20230504", "I", "산부인과", "정수연"});
}

TEST_F(ObstetricRecord, ASquareFollowsItsCharacterOfTheField)
{
    const auto printed = printAdmission(kKind, "00004008", "20230501");
    ASSERT_TRUE(printed.printed()) << printed.failure;
    // Black squares of the demo record, each by its character of the field.
    std::vector<std::string> black;
    for (const auto &page : printed.document->pages)
        for (const auto &e : page.elements)
            if (e.kind == engine::ElementKind::Shape && e.fill == engine::Color::black() &&
                e.component.rfind("qrs_", 0) == 0)
                black.push_back(e.component);
    std::sort(black.begin(), black.end());
    std::vector<std::string> expected = {
        "qrs_fhrshow1", "qrs_fhrbleed2", "qrs_membranes2", "qrs_bldrh1", "qrs_prenav2", "qrs_prenhyper2",
        "qrs_prenhache1", "qrs_pren1", "qrs_prenbleed2", "qrs_pastherb2", "qrs_pastiron1", "qrs_bodytyp2",
        "qrs_denture2", "qrs_fetal1", "qrs_prepscrb1", "qrs_prepdrap1", "qrs_prepcath1", "qrs_anesth1",
        "qrs_delvspon1", "qrs_plaspon1", "qrs_infantsx2", "qrs_infantsx2B", "qrs_respir1", "qrs_respir2b",
        "qrs_imcarecd1", "qrs_imcareye1", "qrs_imcarbph1", "qrs_discuper1", "qrs_nursing1", "qrs_utinvol1",
        "qrs_lochiana1", "qrs_adfmyn1"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(black, expected);
}

TEST_F(ObstetricRecord, ACycleCodeOutsideTheTablePrintsEmpty)
{
    // "7" and a blank: not the design name, not a number's text.
    const auto printed = printAdmission(kKind, "00009201", "20230720");
    ASSERT_TRUE(printed.printed()) << printed.failure;
    EXPECT_EQ(printedText(*printed.document, "qrl_pmp"), "");
    EXPECT_EQ(printedText(*printed.document, "qrl_menscycl"), "");
    EXPECT_EQ(printedText(*printed.document, "qrl_religion"), "");
    for (const auto &page : pdfPages(printed.pdf))
        for (const char *name : {"qrl_religion", "qrl_pmp", "qrl_menscycl"})
            EXPECT_EQ(page.find(name), std::string::npos) << name;
}

TEST(ObstetricRecordRules, EachRuleOnTheForms)
{
    const std::vector<mt::SheetRuleCase> cases = {
        {"show YN", {{field(13), "YN"}}, {}, {"qrs_fhrshow1"}, {"qrs_fhrshow2"}},
        {"show y", {{field(13), "yN"}}, {}, {}, {"qrs_fhrshow1", "qrs_fhrshow2"}},
        {"show empty", {}, {}, {}, {"qrs_fhrshow1", "qrs_fhrshow2"}},
        {"body type NNY", {{field(42), "NNY"}}, {}, {"qrs_bodytyp3"}, {"qrs_bodytyp1", "qrs_bodytyp2"}},
        {"body type of two characters", {{field(42), "NN"}}, {}, {}, {"qrs_bodytyp3"}},
        {"fetal location NNYN", {{field(60), "NNYN"}}, {}, {"qrs_fetal3"}, {"qrs_fetal1", "qrs_fetal4"}},
        {"cycle 1", {{field(5), "1"}, {field(35), "2"}}, {{"qrl_pmp", "regular"}, {"qrl_menscycl", "irregular"}}, {}, {}},
        {"cycle 0", {{field(5), "0"}, {field(35), " 0"}}, {{"qrl_pmp", ""}, {"qrl_menscycl", ""}}, {}, {}},
        {"cycle blank or outside the table", {{field(5), " "}, {field(35), "3"}},
         {{"qrl_pmp", ""}, {"qrl_menscycl", ""}}, {}, {}},
        {"religion never filled", {}, {{"qrl_religion", ""}}, {}, {}},
        {"delivery times: the first alone", {{field(64), "202305011523"}},
         {{"qrl_delvdate", "2023-05-01 15:23 /  / "}}, {}, {}},
        {"delivery times: three", {{field(64), "202305011523"}, {field(128), "202305011541"}, {field(129), "202305011602"}},
         {{"qrl_delvdate", "2023-05-01 15:23 / 2023-05-01 15:41 / 2023-05-01 16:02"}}, {}, {}},
        {"impression lines", {{field(61), "one"}, {field(117), "two"}, {field(119), "four"}, {field(120), "five"}},
         {{"qrl_fetalimp1", "one"}, {"qrl_fetalimp2", "two"}, {"qrl_fetalimp4", "four"}, {"qrl_fetalimp5", "five"}}, {}, {}},
        {"five-minute total is S140", {{field(99), "8"}, {field(100), "202305041000"}, {field(140), "9"}},
         {{"qrl_to1", "8"}, {"qrl_to2", "9"}, {"qrl_discdate", "2023-05-04 10:00"}}, {}, {}},
        {"dates", {{field(4), "20220812"}, {field(7), "202305010600"}, {field(16), "20230501"}, {"record.1", "20230501"}},
         {{"qrl_lmp", "2022-08-12"}, {"qrl_laborTm", "2023-05-01 06:00"}, {"qrl_memdate", "2023-05-01 :"},
          {"qrl_admdate", "2023-05-01"}}, {}, {}},
        {"placenta condition trimmed", {{field(77), "  Complete "}}, {{"qrl_placond", "Complete"}}, {}, {}},
        {"second and third infants", {{field(130), "YN"}, {field(131), "NY"}, {field(136), "NY"}, {field(137), "YN"}},
         {}, {"qrs_infantsx1B", "qrs_infantsx2C", "qrs_respir2b", "qrs_respir1c"},
         {"qrs_infantsx2B", "qrs_infantsx1C", "qrs_infantsx1", "qrs_respir1b"}},
    };
    mt::ExpectSheetRules(kKind, cases);
}

TEST(ObstetricRecordRules, ACycleCodeThatIsNotANumberNamesItsField)
{
    for (int n : {5, 35}) {
        SCOPED_TRACE(n);
        reports::FieldValues values = mt::EmptySheetValues(kKind);
        values.set(field(n), "x");
        EXPECT_EQ(mt::FillFailure(kKind, values), "출력하지 못했습니다. " + field(n) + " 값이 숫자가 아닙니다: 'x'");
    }
}

} // namespace
