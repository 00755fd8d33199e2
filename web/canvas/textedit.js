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
    this.size = '';
    document.addEventListener('selectionchange', () => {
      if (!this.editing) return;
      const sel = window.getSelection();
      if (document.hasFocus() && sel.rangeCount && this.el.contains(sel.getRangeAt(0).commonAncestorContainer))
        this.kept = sel.getRangeAt(0).cloneRange();
      this.reportFormat();
    });
    // Text typed after a family, size or colour was picked at a caret comes as a <font> element.
    document.addEventListener('input', () => {
      if (this.editing) this.fontsToSpans();
    });
    // The editor's toolbar takes the focus from the page while a field or button is used; the
    // selection it acts on is kept, and given back when the page has the focus again.
    this.kept = null;
    window.addEventListener('blur', () => {
      const sel = window.getSelection();
      if (this.editing && sel.rangeCount && this.el.contains(sel.getRangeAt(0).commonAncestorContainer))
        this.kept = sel.getRangeAt(0).cloneRange();
    });
    // The browser puts the caret at the start of the text when the page gets the focus back; the
    // kept selection replaces it once that is done.
    window.addEventListener('focus', () => {
      if (!this.editing) return;
      const kept = this.kept;
      setTimeout(() => {
        if (!this.editing) return;
        this.kept = kept;
        this.restoreSelection();
      }, 0);
    });
    // The editor runs the format actions' shortcuts itself: the page's own handling of the same
    // keys (Chromium's bold, italic, underline) would undo what the action just did.
    window.addEventListener(
      'keydown',
      (e) => {
        if (this.editing && this.isEditorShortcut(e)) e.preventDefault();
      },
      true,
    );
  }

  // Whether a key press is one of the editor's shortcuts ("ctrl+b, ctrl+shift+v, ...").
  isEditorShortcut(e) {
    const list = String(this.page.textShortcuts || '');
    if (!list || !e.key) return false;
    const parts = [];
    if (e.ctrlKey) parts.push('ctrl');
    if (e.metaKey) parts.push('meta');
    if (e.altKey) parts.push('alt');
    if (e.shiftKey) parts.push('shift');
    parts.push(e.key.length === 1 ? e.key.toLowerCase() : e.key.toLowerCase());
    const pressed = parts.join('+');
    return list.split(',').some((s) => s.trim().toLowerCase() === pressed);
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
    this.kept = null;
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
  restoreSelection() {
    if (!this.kept || !this.el || !this.el.contains(this.kept.commonAncestorContainer)) return;
    if (document.activeElement !== this.el) this.el.focus();
    const sel = window.getSelection();
    sel.removeAllRanges();
    sel.addRange(this.kept);
  }

  // A size ("28px") goes through the browser's largest size and becomes a span of that size; a
  // family and a colour become spans too, so that the text keeps CSS, never <font> elements.
  exec(name, value) {
    if (!this.editing) return;
    const lower = String(name).toLowerCase();
    // A command from the toolbar acts on the selection the page had when the toolbar took the focus.
    if (!document.hasFocus()) this.restoreSelection();
    try {
      if (lower === 'fontsize' && /^\d+(\.\d+)?px$/.test(String(value))) {
        this.size = String(value);
        document.execCommand('fontSize', false, '7');
      } else {
        document.execCommand(name, false, value);
      }
      this.fontsToSpans();
    } catch (e) {
      console.error(`The text command ${name} failed:`, e.message);
    }
    // The command replaced nodes the kept selection was in; what it left selected is kept instead.
    const sel = window.getSelection();
    if (this.kept && sel.rangeCount) this.kept = sel.getRangeAt(0).cloneRange();
    this.reportFormat();
  }

  fontsToSpans() {
    if (!this.el) return;
    const fonts = Array.from(this.el.querySelectorAll('font'));
    if (!fonts.length) return;
    const sel = window.getSelection();
    const range = sel.rangeCount ? sel.getRangeAt(0) : null;
    const ends = range && [range.startContainer, range.startOffset, range.endContainer, range.endOffset];
    for (const font of fonts) {
      const span = document.createElement('span');
      const face = font.getAttribute('face');
      if (face) span.style.fontFamily = /^[\w-]+$/.test(face) ? face : `"${face.replace(/"/g, '')}"`;
      if (font.getAttribute('size') === '7' && this.size) span.style.fontSize = this.size;
      const color = font.getAttribute('color');
      if (color) span.style.color = color;
      // Children move over, so the selection's nodes stay the same (only a selection end on the
      // <font> element itself is re-pointed).
      while (font.firstChild) span.appendChild(font.firstChild);
      font.replaceWith(span);
      if (ends) {
        if (ends[0] === font) ends[0] = span;
        if (ends[2] === font) ends[2] = span;
      }
    }
    if (ends) {
      try {
        const r = document.createRange();
        r.setStart(ends[0], ends[1]);
        r.setEnd(ends[2], ends[3]);
        sel.removeAllRanges();
        sel.addRange(r);
      } catch (e) {
        // A selection that no longer fits stays where the browser put it.
      }
    }
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
    // The family, size and colour as the text shows them at the caret.
    const sel = window.getSelection();
    let at = sel && sel.rangeCount ? sel.getRangeAt(0).startContainer : this.el;
    if (at && at.nodeType !== 1) at = at.parentElement;
    if (!at || !this.el || !this.el.contains(at)) at = this.el;
    const cs = at ? window.getComputedStyle(at) : null;
    return {
      fontFamily: cs ? cs.fontFamily : '',
      fontSizePx: cs ? parseFloat(cs.fontSize) || 0 : 0,
      color: cs ? cs.color : '',
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
      justifyFull: state('justifyFull'),
      insertUnorderedList: state('insertUnorderedList'),
      insertOrderedList: state('insertOrderedList'),
    };
  }

  reportFormat() {
    if (this.editing) this.page.call('onTextFormatChanged', JSON.stringify(this.format()));
  }
}
