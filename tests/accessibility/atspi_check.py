"""Drives Drillpad through the AT-SPI accessibility bus as a screen reader
does: answers a quiz and reads its results, finds the quiz's "到" box by the
label that names it, reads what the record's chart says of that quiz, reads
the name and labels of every box of the wizard's pages and of the toolbar,
bolds text in the sheet with the 粗体 button's action, and opens the sheet's
context menu with the menu key. Run by run_atspi.sh inside its own D-Bus
session on a virtual display; the program's path is the first argument."""

import os
import re
import subprocess
import sys
import time

import pyatspi

TIMEOUT = 30


def wait_for(what, find):
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        try:
            found = find()
        except Exception:  # the tree changes while it is walked
            found = None
        if found:
            return found
        time.sleep(0.1)
    raise AssertionError("not found in time: " + what)


def descendants(node):
    pending = [node]
    while pending:
        current = pending.pop(0)
        yield current
        pending.extend(child for child in current if child is not None)


def find(root, role=None, name=None, test=None):
    for node in descendants(root):
        if role is not None and node.getRole() != role:
            continue
        if name is not None and node.name != name:
            continue
        if test is not None and not test(node):
            continue
        return node
    return None


def labelled_by(node):
    """The names of the labels that name a node."""
    names = []
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            names += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return names


def labels_for(node):
    """The nodes that a label names."""
    targets = []
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABEL_FOR:
            targets += [relation.getTarget(i) for i in range(relation.getNTargets())]
    return targets


def value_labelled(window, caption):
    """The text read for the value that a caption labels."""
    node = wait_for(caption, lambda: find(window, test=lambda n: caption in labelled_by(n)))
    return node.name


def name_and_labels(window, name):
    """A box found by its name, as "name: label, label...", with its value."""
    node = wait_for(name, lambda: find(window, name=name))
    return "%s: %s = %s" % (node.name, ", ".join(labelled_by(node)), text_of(node))


# The wizard's boxes with the captions that label them and their first value.
RANGE_ROWS = [("加法范围", "加法范围:"), ("减法范围", "减法范围:"), ("乘法范围", "乘法范围:"),
              ("除法除数范围", "除法除数范围:"), ("四则运算范围", "四则运算范围:")]
COUNT_ROWS = [("加法", "加法:"), ("减法", "减法:"), ("乘法", "乘法:"), ("除法", "除法:"),
              ("四则混合运算", "四则混合运算:")]
WIZARD_BOXES = (
    ["%s %s: %s, %s, 请选择出题数字范围 = %s" % (row, bound, caption, bound, value)
     for row, caption in RANGE_ROWS for bound, value in (("从", "0"), ("到", "9"))]
    + ["%s 出题数量: %s, 出题, 请输入出题数量 = 20" % row for row in COUNT_ROWS])


def press(button):
    actions = button.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    # Qt names the click "Press"; a check-style button also has "Toggle".
    actions.doAction(names.index("Press") if "Press" in names else 0)


def choose_menu_entry(window, caption):
    """Chooses the menu entry whose name starts with `caption`."""
    item = wait_for("the menu entry " + caption, lambda: find(
        window, pyatspi.ROLE_MENU_ITEM, test=lambda n: n.name.startswith(caption)))
    try:
        item.queryAction().doAction(0)
    except Exception:  # the window is modal: no reply comes until it closes
        pass


def text_of(node):
    text = node.queryText()
    return text.getText(0, text.characterCount)


SKIP = 77


def start(program):
    """Starts the program and returns it with its node on the bus. A start
    that loses the race for the fresh display is tried again."""
    # No accessibility switches: the program joins the bus by itself.
    env = {k: v for k, v in os.environ.items()
           if k not in ("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "QT_ACCESSIBILITY")}
    env.update(QT_QPA_PLATFORM="xcb", LC_ALL="C")
    desktop = pyatspi.Registry.getDesktop(0)
    for _ in range(3):
        process = subprocess.Popen([program], env=env)
        deadline = time.monotonic() + TIMEOUT
        while process.poll() is None and time.monotonic() < deadline:
            app = next((a for a in desktop if a is not None and a.name.lower() == "drillpad"),
                       None)
            if app is not None:
                return process, app
            time.sleep(0.1)
        if process.poll() is None:
            process.terminate()
            process.wait(10)
            break
    raise AssertionError("the program did not appear on the accessibility bus")


def main():
    program = sys.argv[1]
    try:
        pyatspi.Registry.getDesktop(0).childCount
    except Exception as error:  # no accessibility bus
        print("SKIP: the accessibility bus is not available:", error)
        sys.exit(SKIP)
    app_process, app = start(program)
    try:
        main_window = wait_for("the main window", lambda: find(app, pyatspi.ROLE_FRAME, "Drillpad"))

        # The quiz: three answers, two of them right.
        press(wait_for("quiz button", lambda: find(main_window, pyatspi.ROLE_PUSH_BUTTON,
                                                   "启动交互界面[L]")))
        quiz = wait_for("the quiz window", lambda: find(app, name="交互界面",
                                                        test=lambda n: n.getRole() in (
                                                            pyatspi.ROLE_DIALOG, pyatspi.ROLE_FRAME)))
        press(find(quiz, pyatspi.ROLE_PUSH_BUTTON, "开始[B]"))
        question = find(quiz, name="题目")
        answer = find(quiz, name="答案")
        ok = find(quiz, pyatspi.ROLE_PUSH_BUTTON, "确认[O]")
        wait_for("a question", lambda: text_of(question).endswith("="))
        for right in (True, False, True):
            asked = text_of(question)
            a, op, b = re.match(r"(\d+)(.)(\d+)=", asked).groups()
            expected = int(a) + int(b)  # the quiz starts with addition
            assert op == "+", asked
            answer.queryEditableText().setTextContents(str(expected if right else expected + 1))
            total = value_labelled(quiz, "共做了:")
            press(ok)
            wait_for("the answer judged",
                     lambda: value_labelled(quiz, "共做了:") == str(int(total) + 1))
        assert value_labelled(quiz, "做对了:") == "2"
        rate = value_labelled(quiz, "正确率:")
        assert rate == "66.67%", rate
        press(find(quiz, pyatspi.ROLE_PUSH_BUTTON, "结束[S]"))
        score = wait_for("the score", lambda: find(quiz, test=lambda n: "总分:" in labelled_by(n)))
        assert score.name == "66.67", score.name
        comment = value_labelled(quiz, "评语及建议:")
        assert comment == "再不努力就不行了,及格，努力啊", comment
        upper = find(quiz, test=lambda n: "到" in labelled_by(n))
        assert upper is not None and upper.getRole() == pyatspi.ROLE_COMBO_BOX
        assert (upper.name, text_of(upper)) == ("到", "9"), (upper.name, text_of(upper))
        caption = find(quiz, pyatspi.ROLE_LABEL, "到")
        assert [n.getRole() for n in labels_for(caption)] == [pyatspi.ROLE_COMBO_BOX]
        print("quiz: rate %s, score %s, comment %s, 到 box reads %s"
              % (rate, score.name, comment, text_of(upper)))
        press(find(quiz, pyatspi.ROLE_PUSH_BUTTON, "关闭[C]"))

        # The record of that quiz: the chart says in words what it shows.
        choose_menu_entry(main_window, "练习记录")
        chart = wait_for("the chart", lambda: find(app, name="得分和每题用时"))
        summary = wait_for("the chart's words", lambda: chart.description or None)
        assert summary.startswith("图表显示1次练习的得分和每题秒数。最近1次（从新到旧）得分：67；"), \
            summary
        print("record: the chart reads %r" % summary)
        record = wait_for("the record window", lambda: find(
            app, name="练习记录", test=lambda n: n.getRole() in (pyatspi.ROLE_DIALOG,
                                                                 pyatspi.ROLE_FRAME)))
        press(find(record, pyatspi.ROLE_PUSH_BUTTON, "关闭[C]"))

        # The mastery map: a table whose cells read each fact's record and state.
        choose_menu_entry(main_window, "掌握情况")
        grid = wait_for("the map", lambda: find(app, pyatspi.ROLE_TABLE, "掌握情况"))
        table = grid.queryTable()
        assert (table.nRows, table.nColumns) == (11, 11), (table.nRows, table.nColumns)
        cells = [table.getAccessibleAt(7, 8).name, table.getAccessibleAt(0, 0).name]
        assert cells[0].startswith("7+8=15: ") and cells[1].startswith("0+0=0: "), cells
        print("map: %dx%d cells, e.g. %s" % (table.nRows, table.nColumns, cells[0]))
        map_window = find(app, name="掌握情况", test=lambda n: n.getRole() in (
            pyatspi.ROLE_DIALOG, pyatspi.ROLE_FRAME))
        press(find(map_window, pyatspi.ROLE_PUSH_BUTTON, "关闭[C]"))

        # The wizard: every box is named by its row and its bound or count, and
        # labelled by its row caption, the caption in front of it and its frame.
        press(find(main_window, pyatspi.ROLE_PUSH_BUTTON, "向导界面[G]"))
        wizard = wait_for("the wizard", lambda: find(app, name="出题向导", test=lambda n: n.getRole() in (
            pyatspi.ROLE_DIALOG, pyatspi.ROLE_FRAME)))
        read = [name_and_labels(wizard, line.split(":")[0]) for line in WIZARD_BOXES]
        assert read == WIZARD_BOXES, "\n".join(read)
        print("wizard: %d boxes named and labelled, e.g. %s" % (len(read), read[1]))
        press(find(wizard, pyatspi.ROLE_PUSH_BUTTON, "取消[C]"))

        # The toolbar: the font lists by what they set, with their values, and
        # every button by its command.
        fonts = [name_and_labels(main_window, name) for name in ("字体", "字号")]
        assert fonts == ["字体:  = 宋体", "字号:  = 五号"], fonts
        buttons = [n.name for bar in (n for n in descendants(main_window)
                                      if n.getRole() == pyatspi.ROLE_TOOL_BAR)
                   for n in bar if n.getRole() in (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX)
                   and n.name]
        assert buttons == ["新建", "打开", "保存", "打印", "剪切", "复制", "粘贴", "查找", "撤销",
                           "重做", "帮助", "粗体", "斜体", "下划线", "左对齐", "居中", "右对齐"], buttons
        print("toolbar: %s; %s" % (", ".join(fonts), " ".join(buttons)))

        # The sheet: select text and make it bold with the toolbar's button.
        sheet = wait_for("the sheet", lambda: find(main_window, name="出题区"))
        sheet.queryEditableText().setTextContents("7+3=")
        sheet.queryText().setSelection(0, 0, 4) or sheet.queryText().addSelection(0, 4)
        before = sheet.queryText().getAttributes(1)[0]
        bold = find(main_window, name="粗体")
        actions = bold.queryAction()
        names = [actions.getName(i) for i in range(actions.nActions)]
        actions.doAction(names.index("Toggle") if "Toggle" in names else 0)
        after = wait_for("bold text", lambda: (
            lambda attributes: attributes if "700" in attributes or "bold" in attributes else None)(
                sheet.queryText().getAttributes(1)[0]))
        assert bold.getState().contains(pyatspi.STATE_CHECKED)
        print("sheet: %r became %r" % (before, after))

        # The menu key in the sheet opens the 编辑 menu, found under the menu bar
        # like the other menus, with its first command highlighted.
        x, y, width, height = sheet.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        pyatspi.Registry.generateMouseEvent(x + width // 2, y + height // 2, "b1c")
        wait_for("the sheet's focus", lambda: sheet.getState().contains(pyatspi.STATE_FOCUSED))
        pyatspi.Registry.generateKeyboardEvent(0xff67, None, pyatspi.KEY_SYM)  # the menu key
        edit = wait_for("the context menu", lambda: find(main_window, test=lambda n: (
            n.getRole() == pyatspi.ROLE_POPUP_MENU and n.parent.name == "编辑[E]"
            and n.getState().contains(pyatspi.STATE_SHOWING))))
        chosen = wait_for("a highlighted command", lambda: find(edit, test=lambda n: (
            n.getState().contains(pyatspi.STATE_FOCUSED) or n.getState().contains(pyatspi.STATE_SELECTED))))
        assert edit.parent.parent.getRole() == pyatspi.ROLE_MENU_BAR
        print("context menu: %s, %s highlighted" % (edit.parent.name, chosen.name))
        pyatspi.Registry.generateKeyboardEvent(0xff1b, None, pyatspi.KEY_SYM)  # Esc
        print("PASS")
    finally:
        app_process.terminate()
        app_process.wait(10)


if __name__ == "__main__":
    main()
