// Resource ids of the program.  Each subsystem keeps its ids in its own
// header, included here; the numbers are the program's own and must not change.
#pragma once

#include "QlResMenu.h"
#include "QlResCommon.h"
#include "QlResShell.h"
#include "QlResCustomers.h"
#include "QlResSettings.h"
#include "QlResTrans.h"
#include "QlResTransViews.h"
#include "QlResTransPane.h"
#include "QlResCatalogue.h"
#include "QlResNetmail.h"
#include "QlResReports.h"
#include "QlResPurch.h"
#include "QlResSalesGraph.h"
#include "QlResPurchDocs.h"
