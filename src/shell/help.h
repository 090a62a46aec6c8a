#pragma once
// The help service: the program's own HTML topics, one per help context number, shown
// in one non-modal help window with a contents list and a search over the topics.
//
// The topics are found relative to the program's directory: "help/" beside the program
// in the build tree, "../share/pelorin/help/" when installed. Every command except
// helpOnHelp makes ProgramDir the working directory while it opens the help and then
// goes back, raising InOutError when either change fails (when the first one fails,
// no help is opened).

class QString;
class QWidget;

namespace pelorin::help {

// The contents: the list of every topic.
void contents();
// The search over the topics' text, ready for a word to be typed.
void search();
// The topic that explains the help window itself.
void helpOnHelp();
// The topic of one help context number.
void context(int number);

// F1 in window opens the topic whose number is in the dynamic property "helpContext"
// (int) of the highlighted menu action (or its menu), else of the focused widget or the
// nearest of its parents that has one; without any, the contents.
void installContextHelp(QWidget *window);

// The directory of the topics as seen from the working directory ProgramDir, relative:
// "help/" when it exists there, else "../share/pelorin/help/".
QString topicDirectory(const QString &programDir);

} // namespace pelorin::help
