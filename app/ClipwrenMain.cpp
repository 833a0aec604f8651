#include "app/shell/ui/CClipwrenApp.h"

wxIMPLEMENT_APP(CClipwrenApp);
