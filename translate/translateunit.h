#pragma once
// The translation's chief header: the table, TranslateText and the messages.

#include "MessageTable.h"
#include "Translator.h"
