#include "Records.h"

CategoryRecord* NewCategoryRecord(const QString& picfile, double picwidth, const QString& introtext,
                                  std::int32_t picbelow, bool textbelowpic) {
    auto* record = new CategoryRecord{};
    record->picfile = NewText(picfile);
    record->picwidth = picwidth;
    record->introtext = NewText(introtext);
    record->picbelow = picbelow;
    record->textbelowpic = textbelowpic;
    return record;
}

void FreeCategoryRecord(CategoryRecord*& record) {
    if (!record) return;
    FreeText(record->picfile);
    FreeText(record->introtext);
    delete record;
    record = nullptr;
}
