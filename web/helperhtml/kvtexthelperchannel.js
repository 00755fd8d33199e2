'use strict';
// Joins the validator ("kvTextValidator") on the page's own channel: each HTML it hands over is
// normalised and handed back, then the validator moves to the next text action.
if (typeof QWebChannel !== 'undefined' && typeof qt !== 'undefined') {
  new QWebChannel(qt.webChannelTransport, (channel) => {
    const validator = channel.objects.kvTextValidator;
    validator.removeFormat.connect((html) => {
      validator.onHtmlProcessed(kvNormaliseHtml(html));
      validator.processNextAction();
    });
    validator.pageReady();
  });
}
