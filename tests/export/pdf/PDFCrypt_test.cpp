#include "PdfTestSupport.h"
#include <cstdio>
#include "export/engine/WriterUtils.h"
#include "../../platform/richedit/Layout_TestSupport.h"

using namespace pdftest;

TEST(gtPDFCrypt, MD5AndRC4MatchTheirPublishedVectors) {
  EXPECT_EQ(StrToHex(gtMD5("")), "D41D8CD98F00B204E9800998ECF8427E");
  EXPECT_EQ(StrToHex(gtMD5("abc")), "900150983CD24FB0D6963F7D28E17F72");
  EXPECT_EQ(StrToHex(gtRC4("Key", "Plaintext")), "BBF316E8D940AF0AD3");
  EXPECT_THROW(gtRC4("", "x"), Exception);
}

TEST(TgtPDFEncryptionSettings, PermissionValuesFollowTheLevel) {
  struct TCase { TgtPDFEncryptionLevel Level; TgtUserPermissions Perms; Integer Want; };
  const TCase Cases[] = {
      {el40bit, {}, -64},
      {el128bit, TgtPDFEncryptionSettings().GetUserPermissions(), -4},
      {el128bit, {AllowHighResPrint}, -3904},   // high-res printing needs printing
      {el40bit, {AllowPrint, AllowCopy}, -44},
  };
  for (auto& C : Cases) {
    TgtPDFEncryptionSettings S;
    S.SetLevel(C.Level);
    S.SetUserPermissions(C.Perms);
    EXPECT_EQ(TgtPDFEncryption("x", S, "D:2020").PermissionValue(), C.Want);
  }
}

namespace {
struct TEncryptCase {
  TgtPDFEncryptionLevel Level;
  const char* Owner;
  const char* User;
  TgtUserPermissions Perms;
  const char* Dict;           // what the encrypt dictionary holds
  const char* PrintAllowed;   // qpdf's report
  const char* ExtractAllowed;
};
}  // namespace

TEST(TgtPDFEngine, EncryptedFilesOpenWithTheirPasswordAndReportTheirPermissions) {
  const TEncryptCase Cases[] = {
      {el128bit, "owner", "user", TgtPDFEncryptionSettings().GetUserPermissions(), "/V 2/R 3/P -4/Length 128",
       "allowed", "allowed"},
      {el40bit, "owner", "user", {}, "/V 1/R 2/P -64/Filter", "not allowed", "not allowed"},
      {el128bit, "", "", {AllowPrint}, "/V 2/R 3/P -3900", "low resolution", "not allowed"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Dict);
    TTempDir Dir;
    TgtPDFEngine E;
    E.GetEncryption()->SetEnabled(true);
    E.GetEncryption()->SetLevel(C.Level);
    E.GetEncryption()->SetOwnerPassword(C.Owner);
    E.GetEncryption()->SetUserPassword(C.User);
    E.GetEncryption()->SetUserPermissions(C.Perms);
    E.GetDocInfo()->SetTitle(u"Secret (title)");
    richtest::TDocBuilder B;
    B.Para(u"Protected text, see http://example.com/x now");
    B.Para(u"Open C:\\dir\\report(1).txt please");
    B.Para(u"Привет", {}, [] { auto F = richtest::Mono(); F.Face = u"Arial"; F.Charset = RUSSIAN_CHARSET; return F; }());
    const std::string File = RenderDocument(E, B.Done(), Dir.File("enc"));
    const std::string Pdf = ReadFile(File);
    EXPECT_NE(Pdf.find(C.Dict), std::string::npos);
    EXPECT_NE(Pdf.find("/ID [<"), std::string::npos);
    std::string Report;
    EXPECT_TRUE(QpdfAccepts(File, &Report, C.User)) << Report;
    const std::string Shown = pdftest::Run("qpdf --show-encryption --password='" + std::string(C.User) + "' '" + File + "'");
    EXPECT_NE(Shown.find(std::string("print high resolution: ") + (C.PrintAllowed == std::string("allowed") ? "allowed" : "not allowed")),
              std::string::npos) << Shown;
    EXPECT_NE(Shown.find(std::string("extract for any purpose: ") + C.ExtractAllowed), std::string::npos) << Shown;
    int Rc = 1;
    pdftest::Run("qpdf --password='" + std::string(C.User) + "' --decrypt '" + File + "' '" + Dir.File("plain.pdf") + "'", &Rc);
    EXPECT_EQ(Rc, 0);
    EXPECT_EQ(Words(PdfToText(Dir.File("plain.pdf"))), "Protected text, see http://example.com/x now Open C:\\dir\\report(1).txt please Привет");
    EXPECT_EQ(InfoValue(Dir.File("plain.pdf"), "Title"), "Secret (title)");
    // The link's address is encrypted with the rest and reads back.
    const std::string Q = pdftest::Run("qpdf --qdf --object-streams=disable '" + Dir.File("plain.pdf") + "' -");
    EXPECT_NE(Q.find("/URI (http://example.com/x)"), std::string::npos);
    // The launch action's path is a string like the others: escaped, encrypted, read back.
    EXPECT_NE(Q.find("/F (/C/dir/report\\(1\\).txt)"), std::string::npos) << Q.substr(Q.find("/Launch") - 200, 400);
    // Link borders are blue, each component within 0..1.
    EXPECT_NE(Words(Q).find("/C [ 0 0 1 ]"), std::string::npos);
    // The link's rectangle names its top-left corner first, then its bottom-right.
    const auto R = Q.find("/Rect [");
    ASSERT_NE(R, std::string::npos);
    double L = 0, T = 0, Rt = 0, Bt = 0;
    ASSERT_EQ(std::sscanf(Q.c_str() + R, "/Rect [ %lf %lf %lf %lf", &L, &T, &Rt, &Bt), 4);
    EXPECT_LT(L, Rt);
    EXPECT_GT(T, Bt);
    if (*C.User) {
      pdftest::Run("qpdf --password=wrong --check '" + File + "'", &Rc);
      EXPECT_NE(Rc, 0);
    }
  }
}

TEST(TgtPDFEncryptionSettings, UnencryptedFilesHaveNoEncryptEntries) {
  TTempDir Dir;
  TgtPDFEngine E;
  SetUpLikeTheApplication(E, Dir.File("p"));
  E.BeginDoc();
  E.EndDoc();
  const std::string Pdf = ReadFile(Dir.File("p.pdf"));
  EXPECT_EQ(Pdf.find("/Encrypt"), std::string::npos);
  EXPECT_EQ(Pdf.find("/Filter/Standard"), std::string::npos);
}
