// The shell fills in every door between the modules, one opener for each
// kind of stored transaction.
#include "QlGTest.h"

#include "docmodel/QlOpeners.h"
#include "shell/QlOpenerSetup.h"

TEST(OpenerSetup, EveryDoorIsFilled)
{
    QlShellSetOpeners();
    int invoices = 0;
    for (uint32_t type = 1; type <= 6; type++) {
        int found = 0;
        for (const QlTransOpener &opener : QlTransOpenerTable)
            if (opener.type == type && opener.open) found++;
        if (type == 1) invoices = found;
        else EXPECT_EQ(1, found) << "type " << type;
    }
    EXPECT_EQ(2, invoices);   // service and product lines
    EXPECT_TRUE(QlModuleOpeners.invoiceForCust != NULL);
    EXPECT_TRUE(QlModuleOpeners.creditForCust != NULL);
    EXPECT_TRUE(QlModuleOpeners.paymentForCust != NULL);
    EXPECT_TRUE(QlModuleOpeners.newQuote != NULL);
    EXPECT_TRUE(QlModuleOpeners.selectCustomer != NULL);
    EXPECT_TRUE(QlModuleOpeners.exportProducts != NULL);
    EXPECT_TRUE(QlModuleOpeners.mailDialog != NULL);
}
