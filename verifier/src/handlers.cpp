#include "handlers.h"

#include <QDir>
#include <algorithm>
#include <cmath>

#include "imei_csv.h"
#include "imei_text.h"

namespace tallisk {

QString csvFileName() {
    return QStringLiteral("imei.csv");
}

QString tacFacMessage() {
    return QStringLiteral(u"TAC+FAC请输入8位整数");
}

QString endBelowStartMessage() {
    return QStringLiteral(u"终止号小于起始号！");
}

QString completionMessage(qint64 entries) {
    return QStringLiteral(u"校验位生成完毕 ！数量:") + numberText(entries);
}

QString writeFailureMessage(const QString& path, const QString& reason) {
    return QStringLiteral(u"无法写入文件“%1”：%2\n文件未作任何改动。")
        .arg(QDir::toNativeSeparators(path), reason);
}

void Handlers::boxChanged(Box box) {
    switch (box) {
        case Box::Text1:
            form_.setBoxText(Box::Text2, completeImei(form_.boxText(Box::Text1)));
            break;
        case Box::Text3:
            applyBoxRule(Box::Text3, 8, FocusTarget::Text4);
            break;
        case Box::Text4:
            applyBoxRule(Box::Text4, kSerialLength, FocusTarget::Text5);
            break;
        case Box::Text5:
            applyBoxRule(Box::Text5, kSerialLength, FocusTarget::Command3);
            break;
        case Box::Text2:
        case Box::Text8:
            break;
    }
}

void Handlers::applyBoxRule(Box box, qsizetype length, FocusTarget next) {
    const BoxOutcome outcome = judgeBoxText(form_.boxText(box), length);
    switch (outcome.verdict) {
        case BoxVerdict::Complete:
            form_.moveFocus(next);
            break;
        case BoxVerdict::Cut:
            // Writing the box runs this rule again on the shorter text.
            form_.setBoxText(box, outcome.cutText);
            break;
        case BoxVerdict::Keep:
            break;
    }
}

void Handlers::command7Clicked() {
    form_.setBoxText(Box::Text1, user_.clipboardText());
}

void Handlers::command5Clicked() {
    user_.replaceClipboardText(form_.boxText(Box::Text2));
}

void Handlers::zeroFill(Box box) {
    if (const auto filled = zeroFilledSerial(form_.boxText(box))) form_.setBoxText(box, *filled);
}

void Handlers::command3Clicked() {
    if (textValue(form_.boxText(Box::Text3)) < 100000) user_.showMessage(tacFacMessage());

    zeroFill(Box::Text4);
    zeroFill(Box::Text5);

    const QString startText = form_.boxText(Box::Text4);
    const double start = textValue(startText);
    const double end = textValue(form_.boxText(Box::Text5));
    if (start > end) {
        user_.showMessage(endBelowStartMessage());
        return;
    }

    // Only eight digits of TAC + FAC directly followed by six serial digits get past this test,
    // so start is a whole number in 0..999999 below.
    const QString tacFacText = form_.boxText(Box::Text3);
    if (!isCompletableBodyValue(textValue(tacFacText + startText))) return;

    const int columnsNeeded = minimumColumns(start, end);
    if (textValue(form_.boxText(Box::Text8)) < columnsNeeded) {
        form_.setBoxText(Box::Text8, numberText(columnsNeeded));
    }

    ImeiBatch batch;
    batch.tacFac = trimSpaces(tacFacText);
    batch.firstSerial = int(start);
    // An end serial with a fraction ends at its whole part; its last entry still closes the last
    // row, and the count shown is the number of entries written.
    batch.lastSerial = int(std::min(std::floor(end), double(kLastSerial)));
    batch.columns = textValue(form_.boxText(Box::Text8));

    // A working folder removed while the program runs has no path any more, and a path built on
    // it would point into the root folder.
    const QString folder = QDir::currentPath();
    if (folder.isEmpty()) {
        user_.showMessage(
            writeFailureMessage(csvFileName(), QStringLiteral(u"当前文件夹已不存在")));
        return;
    }
    const QString path = QDir(folder).absoluteFilePath(csvFileName());
    if (const auto failure = saveImeiCsv(path, batch)) {
        user_.showMessage(writeFailureMessage(path, *failure));
        return;
    }
    user_.showMessage(completionMessage(batch.entryCount()));
}

}  // namespace tallisk
