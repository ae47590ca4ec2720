#include "QlGTest.h"
#include "QlTestWindows.h"
#include "ui/QlFormCopy.h"

#include <string>

enum { ID_FIRST = 101, ID_SECOND, ID_UNITS, ID_HUNDREDTHS, ID_LIST };
static const QlFormCopyControls controls = {ID_FIRST, ID_SECOND, ID_UNITS, ID_HUNDREDTHS, ID_LIST};

// A form with the two texts, the amount edits and a list of the given size.
static HWND MakeForm(const char *first, const char *second, const char *units, const char *hundredths,
                     int columns, int rows)
{
    HWND form = QlTestHostWindow();
    QlTestAddEdit(form, ID_FIRST, first);
    QlTestAddEdit(form, ID_SECOND, second);
    QlTestAddEdit(form, ID_UNITS, units);
    QlTestAddEdit(form, ID_HUNDREDTHS, hundredths);
    QlTestAddList(form, ID_LIST, columns, rows);
    return form;
}

class FormCopy : public ::testing::Test {
protected:
    void TearDown() override { QlFormCopyFree(); }
};

TEST_F(FormCopy, FillsAndShowsTextsAmountAndCells)
{
    const std::string longCell(200, 'x');
    HWND source = MakeForm("ACME01-long-reference", "Invoice for the spring order of 2026", "1234", "5", 16, 3);
    HWND list = GetDlgItem(source, ID_LIST);
    QlTestSetCell(list, 0, 0, "P-100");
    QlTestSetCell(list, 2, 14, "last cell");
    QlTestSetCell(list, 2, 15, "sixteenth column");
    QlTestSetCell(list, 1, 3, longCell.c_str());

    ASSERT_EQ(1, QlFormCopyFill(source, &controls));
    const QlFormCopyRec *copy = QlFormCopyCurrent();
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(3, copy->rowCount);
    EXPECT_STREQ("ACME01-long-ref", copy->firstText);                    // 15 characters
    EXPECT_STREQ("Invoice for the spring order of", copy->secondText);   // 31 characters
    EXPECT_EQ(123405, copy->amountCents);
    EXPECT_STREQ("P-100", copy->cells[0][0]);
    EXPECT_STREQ("last cell", copy->cells[2][14]);
    EXPECT_EQ(longCell.substr(0, 127), copy->cells[1][3]);
    DestroyWindow(source);

    // Shown into a form with fewer rows: only the rows there are filled, none added.
    HWND target = MakeForm("", "", "", "", 16, 2);
    ASSERT_EQ(1, QlFormCopyShow(target, &controls));
    HWND shown = GetDlgItem(target, ID_LIST);
    EXPECT_EQ("ACME01-long-ref", QlTestGetText(target, ID_FIRST));
    EXPECT_EQ("Invoice for the spring order of", QlTestGetText(target, ID_SECOND));
    EXPECT_EQ("1234", QlTestGetText(target, ID_UNITS));
    EXPECT_EQ("5", QlTestGetText(target, ID_HUNDREDTHS));
    EXPECT_EQ("P-100", QlTestGetCell(shown, 0, 0));
    EXPECT_EQ(longCell.substr(0, 127), QlTestGetCell(shown, 1, 3));
    EXPECT_EQ("", QlTestGetCell(shown, 1, 15));
    EXPECT_EQ(2, SendMessageA(shown, LVM_GETITEMCOUNT, 0, 0));
    DestroyWindow(target);
}

TEST_F(FormCopy, AmountComesBackAsItWasTaken)
{
    struct Case {
        const char *units, *hundredths;
        int64_t cents;
        const char *shownUnits, *shownHundredths;
    } cases[] = {
        {"12", "5", 1205, "12", "5"},
        {"-12", "34", -1234, "-12", "34"},
        {"-0", "50", -50, "-0", "50"},
        {"0", "0", 0, "0", "0"},
        {"999999999", "99", 99999999999LL, "999999999", "99"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.cents);
        HWND form = MakeForm("", "", c.units, c.hundredths, 1, 0);
        ASSERT_EQ(1, QlFormCopyFill(form, &controls));
        EXPECT_EQ(c.cents, QlFormCopyCurrent()->amountCents);
        SetDlgItemTextA(form, ID_UNITS, "");
        SetDlgItemTextA(form, ID_HUNDREDTHS, "");
        ASSERT_EQ(1, QlFormCopyShow(form, &controls));
        EXPECT_EQ(c.shownUnits, QlTestGetText(form, ID_UNITS));
        EXPECT_EQ(c.shownHundredths, QlTestGetText(form, ID_HUNDREDTHS));
        // Taken again from what was shown, the amount is the same.
        ASSERT_EQ(1, QlFormCopyFill(form, &controls));
        EXPECT_EQ(c.cents, QlFormCopyCurrent()->amountCents);
        DestroyWindow(form);
    }
}

TEST_F(FormCopy, RefusesMoreThanAThousandRowsAndKeepsTheCopy)
{
    HWND full = MakeForm("full", "", "1", "0", 15, 1000);
    QlTestSetCell(GetDlgItem(full, ID_LIST), 999, 14, "row 1000");
    ASSERT_EQ(1, QlFormCopyFill(full, &controls));
    EXPECT_EQ(1000, QlFormCopyCurrent()->rowCount);
    EXPECT_STREQ("row 1000", QlFormCopyCurrent()->cells[999][14]);
    DestroyWindow(full);

    HWND over = MakeForm("over", "", "2", "0", 15, 1001);
    EXPECT_EQ(0, QlFormCopyFill(over, &controls));
    EXPECT_STREQ("full", QlFormCopyCurrent()->firstText);
    EXPECT_EQ(1000, QlFormCopyCurrent()->rowCount);
    DestroyWindow(over);
}

TEST_F(FormCopy, NothingToShowBeforeAFillOrAfterFree)
{
    HWND form = MakeForm("kept", "", "7", "0", 2, 1);
    EXPECT_EQ(nullptr, QlFormCopyCurrent());
    EXPECT_EQ(0, QlFormCopyShow(form, &controls));
    EXPECT_EQ("kept", QlTestGetText(form, ID_FIRST));

    ASSERT_EQ(1, QlFormCopyFill(form, &controls));
    QlFormCopyFree();
    QlFormCopyFree();   // the second call finds no block
    EXPECT_EQ(nullptr, QlFormCopyCurrent());
    EXPECT_EQ(0, QlFormCopyShow(form, &controls));
    DestroyWindow(form);
}
