// Help context ids of the program's help file. The help project reads this file through
// "#include" in its [MAP] section, so keep to lines of the form "#define NAME number"
// without trailing comments; every id needs an [ALIAS] entry in FNHilfe.hhp.
#pragma once

#define IDH_START 1070
#define IDH_STARTEN 1071
#define IDH_DOKUMENTE 1072
#define IDH_BEARBEITEN 1073
#define IDH_FORMATIEREN 1074
#define IDH_DRUCKEN 1075
#define IDH_FENSTER 1076
#define IDH_RAHMEN 1077
#define IDH_TASTATUR 1078
