// The doors between the modules, filled in at start-up: each module knows
// only docmodel/QlOpeners.h, the shell knows them all.

#include "shell/QlOpenerSetup.h"

#include "customers/QlCustSelect.h"
#include "docmodel/QlOpeners.h"
#include "netmail/QlMail.h"
#include "purchasing/QlPurchOpen.h"
#include "reports/QlReportsOpen.h"
#include "transactions/QlPay.h"
#include "transactions/QlTransOpen.h"
#include "transactions/QlTransViews.h"

void QlShellSetOpeners(void)
{
    static const QlTransOpener kTransOpeners[QL_TRANS_OPENER_COUNT] = {
        {1, 0, QlInvOpenServ},
        {1, 1, QlInvOpenProd},
        {2, -1, QlCreditOpen},
        {3, -1, QlPayOpenView},
        {4, -1, QlQuoteOpenView},
        {5, -1, QlOrderOpen},
        {6, -1, QlPurchInvOpen},
    };
    for (int i = 0; i < QL_TRANS_OPENER_COUNT; i++) QlTransOpenerTable[i] = kTransOpeners[i];

    QlModuleOpeners.invoiceForCust = QlInvNewForCust;
    QlModuleOpeners.creditForCust = QlCreditNewForCust;
    QlModuleOpeners.paymentForCust = QlPayNew;
    QlModuleOpeners.newQuote = QlQuoteOpenNew;
    QlModuleOpeners.selectCustomer = QlCustSelectRun;
    QlModuleOpeners.exportProducts = QlReportExportProd;
    QlModuleOpeners.mailDialog = QlMailOpenDialog;
}
