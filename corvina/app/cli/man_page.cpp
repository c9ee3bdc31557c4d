#include "app/cli/man_page.h"

#include "app/application_state.h"
#include "app/cli/help_text.h"
#include "app/cli/parsed_command_line.h"
#include "app/command_table.h"
#include "app/option_text.h"

namespace corvina::cli {

namespace {

// The page's title line; the date is left out so a rebuild writes the same
// bytes.
std::string titleLine(std::string_view name, std::string_view version) {
  return ".TH " + std::string(name) + " 1 \"\" \"corvina " + std::string(version) +
         "\" \"User Commands\"\n";
}

// A menu entry's text without its accelerator ("&Load Model...\tCtrl+L").
std::string_view entryText(std::string_view menuText) {
  return menuText.substr(0, menuText.find('\t'));
}

std::string fieldItem(const OptionField& field) {
  std::string item = ".TP\n\\fB" + manText(field.name) + "=\\fR\\fI" +
                     manText(fieldValueText(field)) + "\\fR\n" + manText(fieldDescription(field));
  std::string range = fieldRangeText(field);
  if (!range.empty() && field.kind != OptionField::Kind::Bool) item += " (" + range + ")";
  return item + "\n";
}

std::string stepItem(const CommandRow& row, OptionRecords& startValues) {
  std::string item = ".TP\n\\fB" + manText(row.step) + "\\fR";
  if (!row.argumentName.empty()) item += " \\fI" + manText(row.argumentName) + "\\fR";
  item += "\n" + manText(row.summary) + "\n";
  std::string fields;
  if (row.takesAnswer)
    fields += ".TP\n\\fBanswer=\\fR\\fIyes|no\\fR\nthe answer to the step's questions\n";
  if (row.dialog != nullptr)
    if (std::optional<OptionDialog> dialog = row.dialog(startValues))
      for (const OptionField& field : dialog->fields) fields += fieldItem(field);
  if (row.argument == StepArgument::Word && !row.words.empty()) {
    std::string words;
    for (std::string_view word : row.words) words += (words.empty() ? "" : ", ") + manText(word);
    fields += ".TP\n\\fI" + manText(row.argumentName) + "\\fR\none of: " + words + "\n";
  }
  if (row.argument == StepArgument::RowWord) {
    std::string words;
    for (const CommandRow* choice : stepRows(row.step))
      words += (words.empty() ? "" : ", ") + manText(choice->rowWord);
    fields += ".TP\n\\fI" + manText(row.argumentName) + "\\fR\none of: " + words + "\n";
  }
  if (!fields.empty()) item += ".RS\n" + fields + ".RE\n";
  return item;
}

}  // namespace

std::string manText(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else if (c == '&' && i + 1 < text.size() && text[i + 1] != ' ' && text[i + 1] != '&') {
      // A mnemonic mark: the letter after it stays.
    } else {
      out += c;
    }
  }
  if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
  return out;
}

std::string cliManPage(std::string_view version) {
  std::string page = titleLine("CORVINA\\-CLI", version);
  page +=
      ".SH NAME\n"
      "corvina\\-cli \\- run corvina's commands on an OBJ model without a window\n"
      ".SH SYNOPSIS\n"
      ".B corvina\\-cli\n"
      "[\\fB\\-\\-answer=\\fR\\fIyes|no\\fR] [\\fB\\-\\-view=\\fR\\fIW\\fBx\\fR\\fIH\\fR] "
      "\\fISTEP\\fR [\\fIARG\\fR...] [\\fISTEP\\fR [\\fIARG\\fR...]]...\n"
      ".br\n"
      ".B corvina\\-cli \\-\\-help\n"
      "|\n"
      ".B \\-\\-version\n"
      ".SH DESCRIPTION\n"
      "Runs the commands of the texture\\-map editor corvina without a window, for batch work\n"
      "in build pipelines. The steps run in order on one model, as the window's commands would.\n"
      "A step's arguments run up to the next word that is a step name.\n"
      "A step that needs a file takes its path instead of the file dialog; a step with an\n"
      "options dialog takes \\fIfield\\fB=\\fR\\fIvalue\\fR arguments that set the dialog's\n"
      "fields before the command runs. Booleans take on/off, yes/no, true/false or 1/0;\n"
      "choices take their number or their word. Fields not named keep their current values,\n"
      "which start as listed below and last for the whole run.\n"
      ".PP\n"
      "A path that looks like \\fIfield\\fB=\\fR\\fIvalue\\fR is taken as the path when it\n"
      "names no field of its step; otherwise write it with its folder (./a=b.obj).\n"
      ".PP\n"
      "Every message the window would show is printed as its caption in square brackets,\n"
      "its text and an empty line; errors go to standard error. A question is answered by\n"
      "the step's \\fBanswer=\\fR, else by \\fB\\-\\-answer=\\fR, else by its default: no for\n"
      "the offers to correct out\\-of\\-range texture coordinates, yes otherwise.\n"
      ".SH OPTIONS\n"
      ".TP\n"
      ".BR \\-\\-answer= yes|no\n"
      "The answer to questions a step does not answer itself.\n"
      ".TP\n"
      "\\fB\\-\\-view=\\fR\\fIW\\fBx\\fR\\fIH\\fR\n"
      "The size of the texture\\-map view in pixels (default 512x512); the steps that act as\n"
      "mouse or keys in the view, and \\fBrender\\fR, measure with it.\n"
      ".TP\n"
      ".B \\-\\-help\n"
      "Lists the steps with their fields and start values.\n"
      ".TP\n"
      ".B \\-\\-version\n"
      "Prints the program's version.\n"
      ".SH STEPS\n";
  OptionRecords startValues;
  std::string waiting;
  for (const CommandRow* row : stepHeads()) {
    if (isStepAvailable(row->step))
      page += stepItem(*row, startValues);
    else
      waiting += (waiting.empty() ? "" : ", ") + manText(row->step);
  }
  if (!waiting.empty()) page += ".PP\nNot available yet: " + waiting + ".\n";
  page +=
      ".SH EXIT STATUS\n"
      "0 when every step ran; 1 as soon as a step shows an error (later steps do not run);\n"
      "2 for a usage error (nothing runs).\n"
      ".SH EXAMPLES\n"
      "Give a model box\\-mapped texture coordinates, tile them by material, save the model\n"
      "and a template to paint on, and print its statistics:\n"
      ".PP\n"
      ".nf\n"
      ".RS\n"
      "corvina\\-cli load crate.obj box tile\\-material save\\-obj out.obj \\e\n"
      "    save\\-bmp out.bmp width=1024 height=1024 stats\n"
      ".RE\n"
      ".fi\n"
      ".SH SEE ALSO\n"
      ".BR corvina (1)\n";
  return page;
}

std::string windowManPage(std::string_view version) {
  std::string page = titleLine("CORVINA", version);
  page +=
      ".SH NAME\n"
      "corvina \\- edit the texture coordinates of OBJ models\n"
      ".SH SYNOPSIS\n"
      ".B corvina\n"
      "[\\fIMODEL.obj\\fR]\n"
      ".br\n"
      ".B corvina \\-\\-version\n"
      ".SH DESCRIPTION\n"
      "Loads an OBJ model, generates texture coordinates by projection, lets them be\n"
      "arranged by hand in the texture\\-map view, repairs the model, and saves it as OBJ,\n"
      "as a UVS file of texture coordinates alone, or as a BMP template to paint on.\n"
      "A model named on the command line is loaded at start.\n"
      ".PP\n"
      "Most commands are also steps of\n"
      ".BR corvina\\-cli (1),\n"
      "which runs them without a window.\n"
      ".SH OPTIONS\n"
      ".TP\n"
      ".B \\-\\-version\n"
      "Prints the program's version.\n"
      ".SH MENUS\n";
  std::string_view menu;
  auto addEntry = [&page, &menu](const CommandRow& row) {
    if (row.menu != menu) {
      menu = row.menu;
      page += ".SS " + manText(menu) + "\n";
    }
    std::string entry = manText(entryText(row.menuText));
    if (!row.submenu.empty()) entry = manText(row.submenu) + " \\(-> " + entry;
    page += ".TP\n\\fB" + entry + "\\fR";
    if (!row.keys.empty()) page += " (" + manText(row.keys) + ")";
    page += "\n";
    std::string text = manText(row.statusText);
    if (!row.step.empty()) {
      if (!text.empty()) text += ". ";
      text += "Step \\fB" + manText(row.step) + "\\fR";
      if (!row.rowWord.empty()) text += " " + manText(row.rowWord);
      text += ".";
    }
    page += (text.empty() ? std::string("\\&") : text) + "\n";
  };
  for (const CommandRow* row : menuRows()) addEntry(*row);
  for (const CommandRow& row : toolsMenuRows()) addEntry(row);
  page +=
      ".SH FILES\n"
      ".TP\n"
      ".I \"~/.config/Brindle Labs/Corvina.conf\"\n"
      "The settings and the recent models.\n"
      ".SH SEE ALSO\n"
      ".BR corvina\\-cli (1)\n";
  return page;
}

}  // namespace corvina::cli
