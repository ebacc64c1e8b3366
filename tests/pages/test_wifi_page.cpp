// The Wi-Fi password page: what the fields accept, the three refusals and
// the one success that reaches the device.
#include "PageTestSupport.h"

#include "pages/PasswordFilter.h"
#include "pages/WiFiPasswordChangeController.h"

#include <QLineEdit>
#include <QPushButton>

TEST(PasswordFilter, KeepsEightAsciiLettersAndDigits)
{
    bool refused = false;
    EXPECT_EQ(PasswordFilter::filtered(QStringLiteral("ab1Z"), &refused), QStringLiteral("ab1Z"));
    EXPECT_FALSE(refused);
    EXPECT_EQ(PasswordFilter::filtered(QStringLiteral("ab "), &refused), QStringLiteral("ab"));
    EXPECT_TRUE(refused);
    EXPECT_EQ(PasswordFilter::filtered(QStringLiteral("é"), &refused), QString());
    EXPECT_TRUE(refused);
    // A character typed in the middle or pasted is checked too.
    EXPECT_EQ(PasswordFilter::filtered(QStringLiteral("a-b\u00e9c"), &refused),
              QStringLiteral("abc"));
    EXPECT_EQ(PasswordFilter::filtered(QStringLiteral("123456789"), &refused),
              QStringLiteral("12345678"));
    EXPECT_TRUE(refused);
}

struct WiFiPage : PageFixture
{
    WiFiPasswordChangeController page{*app};
    QString shown;

    void SetUp() override
    {
        PageFixture::SetUp();
        settings()->options()->setPasswords(QStringLiteral("47185296"));
        page.loadWindow();
    }
    void enter(PasswordStepView *step, const QString &text)
    {
        step->textEditPassword()->setText(text);
        emit step->textEditPassword()->returnPressed();
    }
    // Confirms `step` with `text` and expects it refused with `error`.
    void expectRefused(PasswordStepView *step, const QString &text, const QString &error)
    {
        shown.clear();
        answerNextBox(&shown);
        enter(step, text);
        EXPECT_TRUE(waitFor([&] { return !shown.isEmpty(); }));
        waitMs(10);
        EXPECT_EQ(shown, error);
        EXPECT_EQ(spoken().last(), error);
        EXPECT_EQ(page.visibleStep(), step);
        EXPECT_FALSE(page.isClosed());
    }
};

TEST_F(WiFiPage, NewPasswordFieldsFilterAsTheyChangeTheCurrentOneTakesWhatTheDeviceHolds)
{
    // Twelve bytes, as SetWifiPassword allows, outside the new password's rule.
    const QString held = QStringLiteral("my wifi-2024");
    const struct
    {
        PasswordStepView *step;
        QString typed;
        QString kept;
    } rows[] = {
        {page.nPasswordController(), QStringLiteral("4718 5"), QStringLiteral("47185")},
        {page.nPasswordController(), QStringLiteral("471852961"), QStringLiteral("47185296")},
        {page.confirmNewPasswordController(), QStringLiteral("ab\u00e9c"), QStringLiteral("abc")},
        {page.currentPasswordController(), held, held},
        {page.currentPasswordController(), QStringLiteral("\u00e9t\u00e9 42"),
         QStringLiteral("\u00e9t\u00e9 42")},
    };
    for (const auto &row : rows) {
        QLineEdit *field = row.step->textEditPassword();
        field->setText(row.typed);
        EXPECT_EQ(field->text(), row.kept) << row.step->objectName().toStdString();
        EXPECT_EQ(field->echoMode(), QLineEdit::Normal);
        EXPECT_FALSE(field->accessibleName().isEmpty());
    }

    // Such a password, reported by the device, can be changed.
    settings()->options()->setPasswords(held);
    enter(page.currentPasswordController(), held);
    EXPECT_EQ(page.visibleStep(), page.nPasswordController());
    enter(page.nPasswordController(), QStringLiteral("Abc12345"));
    enter(page.confirmNewPasswordController(), QStringLiteral("Abc12345"));
    EXPECT_TRUE(page.isClosed());
    EXPECT_EQ(settings()->options()->passwords(), QStringLiteral("Abc12345"));
}

TEST_F(WiFiPage, RefusalsKeepTheStepAndOnlySuccessSends)
{
    const QString invalid = message("Error.InvalidPassword", "The password is not correct.");
    expectRefused(page.currentPasswordController(), QStringLiteral("12345678"), invalid);
    enter(page.currentPasswordController(), QStringLiteral("47185296"));
    EXPECT_EQ(page.visibleStep(), page.nPasswordController());
    expectRefused(page.nPasswordController(), QStringLiteral("1234567"),
                  message("Error.PasswordIsTooShort", "The password is too short."));
    // The current password again is a new password like any other.
    enter(page.nPasswordController(), QStringLiteral("47185296"));
    expectRefused(page.confirmNewPasswordController(), QStringLiteral("47185297"), invalid);
    EXPECT_TRUE(commands().isEmpty());

    page.confirmNewPasswordController()->buttonBack()->click();
    EXPECT_EQ(page.visibleStep(), page.nPasswordController());
    enter(page.nPasswordController(), QStringLiteral("Abc12345"));
    enter(page.confirmNewPasswordController(), QStringLiteral("Abc12345"));
    EXPECT_TRUE(page.isClosed());
    EXPECT_EQ(commands(), (QList<QByteArray>{QByteArray("\x09\x00"
                                                        "Abc12345",
                                                        10)}));
    EXPECT_EQ(settings()->options()->passwords(), QStringLiteral("Abc12345"));
    waitMs(10);
    EXPECT_EQ(spoken().last(), message("TTS.Saved", "Saved"));
}

TEST_F(WiFiPage, EscOnTheLastStepCancelsAndKeepsThePassword)
{
    enter(page.currentPasswordController(), QStringLiteral("47185296"));
    enter(page.nPasswordController(), QStringLiteral("abcdefgh"));
    EXPECT_EQ(page.visibleStep(), page.confirmNewPasswordController());
    EXPECT_TRUE(page.enableHotKeyEsc());
    EXPECT_FALSE(page.enableHotKeyReturn());
    EXPECT_FALSE(page.enableHotKeyBackspace());
    page.onEscKeyDown();
    EXPECT_TRUE(page.isClosed());
    waitMs(10);
    EXPECT_EQ(spoken().last(), message("TTS.Cancelled", "Cancelled"));
    EXPECT_TRUE(commands().isEmpty());
    EXPECT_EQ(settings()->options()->passwords(), QStringLiteral("47185296"));
}
