// Editing the text of an element in place: its text layer becomes editable, the editor is told
// (setEditingText, with the place for its format toolbar), the format at the caret is reported as
// it moves (onTextFormatChanged), the editor's format commands run on the selection, and leaving
// hands the new HTML back (editTextInnerHTML).

// Element kinds that hold text: text, rectangle, auto shape, free-form shape.
const TEXT_KINDS = new Set([4, 5, 9, 11]);

export class TextEditing {
  constructor(page) {
    this.page = page;
    this.id = -1;
    this.el = null;
    this.before = '';
    document.addEventListener('selectionchange', () => {
      if (this.editing) this.reportFormat();
    });
  }

  get editing() {
    return this.id >= 0;
  }

  contains(target) {
    return !!(this.el && target && this.el.contains(target));
  }

  canEdit(id) {
    const node = this.page.node(id);
    return !!node && TEXT_KINDS.has(Number(node.data.k)) && node.data.locked !== true;
  }

  start(id) {
    const p = this.page;
    if (this.editing) this.stop();
    if (!this.canEdit(id)) return false;
    const node = p.node(id);
    if (!node.textEl) node.setText('', true);
    this.id = id;
    this.el = node.textEl;
    this.before = this.el.innerHTML;
    this.el.contentEditable = 'true';
    this.el.classList.add('kv-editing');
    this.el.focus();
    const range = document.createRange();
    range.selectNodeContents(this.el);
    const sel = window.getSelection();
    sel.removeAllRanges();
    sel.addRange(range);
    const r = this.el.getBoundingClientRect();
    p.call('setEditingText', true, Math.round(r.left), Math.round(r.top));
    this.reportFormat();
    p.drawOverlay();
    return true;
  }

  // Leaves text editing; the changed HTML goes to the editor, which makes the text command.
  stop() {
    if (!this.editing) return;
    const p = this.page;
    const html = this.el.innerHTML;
    const el = p.model && p.model.element(this.id);
    this.el.contentEditable = 'false';
    this.el.classList.remove('kv-editing');
    const changed = html !== this.before;
    this.id = -1;
    this.el = null;
    if (changed) {
      if (el) {
        el.txt = Array.isArray(el.txt) ? el.txt : [''];
        el.txt[0] = html;
      }
      p.call('editTextInnerHTML', html);
    }
    p.call('setEditingText', false);
    p.drawOverlay();
  }

  // A format command of the editor's text tool (bold, font size...) on the selection.
  exec(name, value) {
    if (!this.editing) return;
    try {
      document.execCommand(name, false, value);
    } catch (e) {
      console.error(`The text command ${name} failed:`, e.message);
    }
    this.reportFormat();
  }

  format() {
    const state = (c) => {
      try {
        return document.queryCommandState(c);
      } catch (e) {
        return false;
      }
    };
    const value = (c) => {
      try {
        return document.queryCommandValue(c);
      } catch (e) {
        return '';
      }
    };
    return {
      bold: state('bold'),
      italic: state('italic'),
      underline: state('underline'),
      strikethrough: state('strikeThrough'),
      fontName: value('fontName'),
      fontSize: value('fontSize'),
      foreColor: value('foreColor'),
      justifyLeft: state('justifyLeft'),
      justifyCenter: state('justifyCenter'),
      justifyRight: state('justifyRight'),
    };
  }

  reportFormat() {
    if (this.editing) this.page.call('onTextFormatChanged', JSON.stringify(this.format()));
  }
}
