// Resource ids of the suppliers window and the purchasing screens.
#pragma once

#define IDD_SUPP_WINDOW 323
#define IDL_SUPP_LIST 1397
