#include "app/cli/completion.h"

#include "app/application_state.h"
#include "app/cli/help_text.h"
#include "app/cli/parsed_command_line.h"
#include "app/command_table.h"

namespace corvina::cli {

namespace {

// One word for bash, single-quoted ('it'\''s').
std::string quoted(std::string_view word) {
  std::string out = "'";
  for (char c : word) {
    if (c == '\'')
      out += "'\\''";
    else
      out += c;
  }
  return out + "'";
}

std::string wordList(const std::vector<std::string>& words) {
  std::string list;
  for (const std::string& word : words) list += (list.empty() ? "" : " ") + quoted(word);
  return list;
}

std::string_view argumentKind(StepArgument argument) {
  switch (argument) {
    case StepArgument::Path:
      return "path";
    case StepArgument::RowWord:
    case StepArgument::Word:
      return "word";
    default:
      return "other";
  }
}

// The words a field's value may be offered from; none for numbers and text.
std::vector<std::string> fieldValues(const OptionField& field) {
  if (field.kind == OptionField::Kind::Bool) return {"on", "off"};
  if (field.kind == OptionField::Kind::Choice) return field.choices;
  return {};
}

// The script's fixed part: the function that reads the line and offers.
constexpr std::string_view kCompletionFunction = R"(
# Adds the words given that begin with the word being completed, quoted for
# the shell, to COMPREPLY.
_corvina_cli_offer() {
  local word quoted
  for word in "$@"; do
    printf -v quoted '%q' "$word"
    [[ $quoted == "$cur"* ]] && COMPREPLY+=("$quoted")
  done
}

_corvina_cli() {
  COMPREPLY=()
  # bash splits words at '=' (COMP_WORDBREAKS); join field=value again.
  local -a line=("${COMP_WORDS[0]}")
  local i word last step_kind step_words step_fields values
  for ((i = 1; i <= COMP_CWORD; i++)); do
    word=${COMP_WORDS[i]}
    last=$((${#line[@]} - 1))
    if ((last > 0)) && { { [[ $word == = ]] && ! _corvina_cli_step "${line[last]}"; } ||
      [[ ${line[last]} == ?*= && ${COMP_WORDS[i - 1]} == = ]]; }; then
      line[last]+=$word
    else
      line+=("$word")
    fi
  done
  local cur=${line[-1]}

  # The step the word belongs to: the last step name before it, and how many
  # plain words that step has been given.
  local step= plain=0
  for ((i = 1; i < ${#line[@]} - 1; i++)); do
    word=${line[i]}
    if _corvina_cli_step "$word"; then
      step=$word
      plain=0
    elif [[ -n $step && $word != *=* ]]; then
      plain=$((plain + 1))
    fi
  done

  local -a steps
  _corvina_cli_steps
  if [[ $cur == -* && ( -z $step || $cur == --* ) ]]; then
    if [[ $cur == --answer=* ]]; then
      _corvina_cli_offer --answer=yes --answer=no
    else
      _corvina_cli_offer --answer= --view= --help --version
    fi
  elif [[ -z $step ]]; then
    _corvina_cli_offer "${steps[@]}"
  else
    _corvina_cli_step "$step"
    if [[ $cur == *=* ]]; then
      local field=${cur%%=*} value_files=
      _corvina_cli_values "$step" "$field"
      _corvina_cli_offer "${values[@]/#/$field=}"
      if [[ -n $value_files ]]; then
        local IFS=$'\n' file
        for file in $(compgen -f -- "${cur#*=}"); do COMPREPLY+=("$field=$file"); done
        compopt -o filenames 2>/dev/null
      fi
    elif ((plain == 0)) && [[ $step_kind == path ]]; then
      _corvina_cli_offer "${step_fields[@]}"
      local IFS=$'\n'
      COMPREPLY+=($(compgen -f -- "$cur"))
      compopt -o filenames 2>/dev/null
    elif ((plain == 0)) && [[ $step_kind == word ]]; then
      _corvina_cli_offer "${step_words[@]}" "${step_fields[@]}"
    else
      _corvina_cli_offer "${step_fields[@]}" "${steps[@]}"
    fi
  fi

  # What bash replaces starts after the last '=' when '=' breaks words.
  if [[ $COMP_WORDBREAKS == *=* && $cur == *=* ]]; then
    local prefix=${cur%"${cur##*=}"}
    COMPREPLY=("${COMPREPLY[@]#"$prefix"}")
  fi
  if ((${#COMPREPLY[@]} == 1)) && [[ ${COMPREPLY[0]} == *= || -z ${COMPREPLY[0]} ]]; then
    compopt -o nospace 2>/dev/null
  fi
  return 0
}

complete -F _corvina_cli corvina-cli
)";

}  // namespace

std::string bashCompletionScript() {
  std::string script =
      "# bash completion for corvina-cli, written from its command rows by the build.\n"
      "\n"
      "# Sets `steps` to every step name.\n"
      "_corvina_cli_steps() {\n"
      "  steps=(";
  std::vector<const CommandRow*> heads;
  for (const CommandRow* row : stepHeads())
    if (isStepAvailable(row->step)) heads.push_back(row);
  std::vector<std::string> names;
  for (const CommandRow* row : heads) names.emplace_back(row->step);
  script += wordList(names) + ")\n}\n\n";

  // Each step's argument kind, words and fields, and each field's values.
  std::string steps;
  std::string values;
  OptionRecords startValues;
  for (const CommandRow* row : heads) {
    std::vector<std::string> words;
    if (row->argument == StepArgument::Word) words.assign(row->words.begin(), row->words.end());
    if (row->argument == StepArgument::RowWord)
      for (const CommandRow* choice : stepRows(row->step)) words.emplace_back(choice->rowWord);
    std::vector<std::string> fields;
    const std::string step(row->step);
    if (row->takesAnswer) {
      fields.push_back("answer=");
      values += "    " + quoted(step + ":answer") + ") values=(yes no) ;;\n";
    }
    if (row->dialog != nullptr)
      if (std::optional<OptionDialog> dialog = row->dialog(startValues))
        for (const OptionField& field : dialog->fields) {
          fields.push_back(field.name + "=");
          std::vector<std::string> taken = fieldValues(field);
          if (field.kind == OptionField::Kind::Text && field.browse)
            values += "    " + quoted(step + ":" + field.name) + ") values=() value_files=1 ;;\n";
          else if (!taken.empty())
            values += "    " + quoted(step + ":" + field.name) + ") values=(" + wordList(taken) +
                      ") ;;\n";
        }
    steps += "    " + quoted(step) + ") step_kind=" + std::string(argumentKind(row->argument)) +
             " step_words=(" + wordList(words) + ") step_fields=(" + wordList(fields) + ") ;;\n";
  }
  script +=
      "# Sets `step_kind` (path, word or other), `step_words` and `step_fields` for\n"
      "# the step named; fails for a word that is no step.\n"
      "_corvina_cli_step() {\n"
      "  case $1 in\n" +
      steps +
      "    *) return 1 ;;\n"
      "  esac\n"
      "}\n"
      "\n"
      "# Sets `values` to the words field $2 of step $1 takes, and `value_files`\n"
      "# when it takes a file name.\n"
      "_corvina_cli_values() {\n"
      "  case $1:$2 in\n" +
      values +
      "    *) values=() ;;\n"
      "  esac\n"
      "}\n";
  script += kCompletionFunction;
  return script;
}

}  // namespace corvina::cli
