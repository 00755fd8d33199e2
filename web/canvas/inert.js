// What the stage shows of a project's own HTML must never run: a project is a file people send each
// other, and the stage page holds the editor's channel. The rich text of text boxes and shapes goes
// through DOMPurify before it enters the page (scripts, event-handler attributes, javascript: links,
// frames and forms go; the markup and its styles stay), and HTML widgets are shown in frames
// sandboxed without scripts or an origin of their own. The exported page is not touched: there the
// author's script runs as written.
import DOMPurify from 'dompurify';

// Addresses a text may point at: the web's and mail's, relative ones and the project's own files.
const ALLOWED_URI = /^(?:(?:https?|mailto|tel|resource):|[^a-z]|[a-z+.-]+(?:[^a-z+.\-:]|$))/i;

export function inertHtml(html) {
  return DOMPurify.sanitize(typeof html === 'string' ? html : '', {
    FORBID_TAGS: ['form', 'style'],
    ADD_ATTR: ['target'],
    ALLOWED_URI_REGEXP: ALLOWED_URI,
  });
}

// The hooks the player's nodes call on the stage (see ElementNode.setText and buildContent).
export const inertContent = {
  html: inertHtml,
  // No token at all: no scripts, no same origin, no forms, popups or top navigation.
  widgetSandbox: '',
};
