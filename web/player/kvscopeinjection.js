// Placed by the designer inside the function of every data file, before the user functions: the
// names declared here are what those functions can use besides their parameters (doc, e).

// The player's global object, for functions that open or control other documents.
var kavio = Kavio;
// The document of a container on the page, once it is open; null before.
var getDoc = function (containerId) { return Kavio.getDoc ? Kavio.getDoc(containerId) : null; };
