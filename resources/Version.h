// The version both programs carry in their version information, and the release zip in its name.
#pragma once

#define QUIL_VERSION_NUMBERS 1, 0, 0, 0
#define QUIL_VERSION_TEXT "1.0.0.0"
#define QUIL_PRODUCT_NAME "Quil Config"
