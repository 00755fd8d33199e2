// Normalises the HTML that the canvas page's text editor produces before it is stored in the
// project: only what the player shows stays, in a stable form.
// - script, style, meta, link, title, head, iframe and object elements go, with their content;
// - comments go;
// - attributes go except style, href, target and the data-* attributes; event handler attributes
//   (on...) and javascript: links go;
// - style attributes keep their declarations; empty or malformed ones are dropped;
// - span elements left without attributes are unwrapped; font elements become spans with the
//   equivalent style; b, i, u, strike keep their meaning;
// - adjacent text is joined and a trailing <br> at the end of a block is dropped.
'use strict';

(function (global) {
  const DROP = new Set(['SCRIPT', 'STYLE', 'META', 'LINK', 'TITLE', 'HEAD', 'IFRAME', 'OBJECT', 'EMBED']);
  const BLOCKS = new Set(['P', 'DIV', 'LI', 'H1', 'H2', 'H3', 'H4', 'H5', 'H6']);

  function keepAttribute(name, value) {
    if (name === 'style' || name === 'target' || name.startsWith('data-'))
      return true;
    if (name === 'href')
      return !/^\s*javascript:/i.test(value);
    return false;
  }

  function cleanStyle(element) {
    const declarations = (element.getAttribute('style') || '')
      .split(';')
      .map((d) => d.trim())
      .filter((d) => /^[-a-zA-Z]+\s*:\s*\S/.test(d));
    if (declarations.length)
      element.setAttribute('style', declarations.join('; '));
    else
      element.removeAttribute('style');
  }

  // A font element's face as a CSS family list: names that are not plain words (Gill's Sans,
  // 3D Font) go in single quotes with quotes and backslashes escaped; quoted names stay as they are.
  function cssFamilies(face) {
    return face.split(',').map((name) => name.trim()).filter((name) => name).map((name) => {
      if (/^(['"]).*\1$/.test(name) || /^-?[_a-zA-Z][\w-]*(\s+-?[_a-zA-Z][\w-]*)*$/.test(name))
        return name;
      return "'" + name.replace(/\\/g, '\\\\').replace(/'/g, "\\'") + "'";
    }).join(', ');
  }

  function fontToSpan(doc, font) {
    const span = doc.createElement('span');
    const styles = [];
    if (font.getAttribute('face'))
      styles.push('font-family: ' + cssFamilies(font.getAttribute('face')));
    if (font.getAttribute('color'))
      styles.push('color: ' + font.getAttribute('color'));
    if (font.getAttribute('style'))
      styles.push(font.getAttribute('style'));
    if (styles.length)
      span.setAttribute('style', styles.join('; '));
    while (font.firstChild)
      span.appendChild(font.firstChild);
    font.replaceWith(span);
    return span;
  }

  function unwrap(element) {
    const parent = element.parentNode;
    while (element.firstChild)
      parent.insertBefore(element.firstChild, element);
    parent.removeChild(element);
  }

  function clean(doc, node) {
    for (const child of Array.from(node.childNodes)) {
      if (child.nodeType === 8) { // comment
        child.remove();
        continue;
      }
      if (child.nodeType !== 1)
        continue;
      if (DROP.has(child.tagName)) {
        child.remove();
        continue;
      }
      let element = child;
      if (element.tagName === 'FONT')
        element = fontToSpan(doc, element);
      for (const attribute of Array.from(element.attributes)) {
        if (!keepAttribute(attribute.name.toLowerCase(), attribute.value))
          element.removeAttribute(attribute.name);
      }
      if (element.hasAttribute('style'))
        cleanStyle(element);
      clean(doc, element);
      if (BLOCKS.has(element.tagName) && element.lastChild && element.lastChild.nodeName === 'BR'
          && element.childNodes.length > 1) {
        element.lastChild.remove();
      }
      if (element.tagName === 'SPAN' && element.attributes.length === 0)
        unwrap(element);
    }
    node.normalize();
  }

  function kvNormaliseHtml(html) {
    const doc = new DOMParser().parseFromString('<body>' + String(html) + '</body>', 'text/html');
    clean(doc, doc.body);
    return doc.body.innerHTML;
  }

  global.kvNormaliseHtml = kvNormaliseHtml;
})(typeof window !== 'undefined' ? window : globalThis);
