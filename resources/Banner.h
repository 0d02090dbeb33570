// The banner's second line, the credit line, shown in the main dialog's template.
#pragma once

#define QUIL_BANNER_CREDIT "Skin and utility made by the Quil skin team"
