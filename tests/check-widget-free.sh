#!/usr/bin/env bash
# kavio-core must stay free of widgets: no source in its folders may include a Qt Widgets header,
# apart from the undo framework (QUndoStack, QUndoCommand).
set -euo pipefail
src=${1:?source folder}
widgets=${2:?QtWidgets include folder}
names=$(ls "$widgets" | grep -E '^Q[A-Za-z]+$|^q[a-z]+\.h$' | grep -vE '^(QUndoStack|QUndoCommand|qundostack\.h)$' \
        | sed 's/\./\\./g' | paste -sd'|')
hits=$(grep -rnE "#\s*include\s*[<\"](QtWidgets/)?($names)[>\"]" \
       "$src"/{model,animation,interaction,commands,document,output,resources} 2>/dev/null || true)
if [ -n "$hits" ]; then
  echo "kavio-core includes widget headers:"
  echo "$hits"
  exit 1
fi
echo "kavio-core is widget-free"
