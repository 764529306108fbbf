// Number formats of locales: the decimal separator the thread locale writes numbers with.
#pragma once

// The decimal separator of the thread locale ("," for Russian, "." for English).
char LocaleDecimalSeparator();
