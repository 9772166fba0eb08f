#include "core/html/table_script.h"

namespace kelvano {
namespace {

// The script that sorts and filters a table in the page, written after the table (and after the CSV
// link). It finds the table before it and gives each column heading a sort button after its text
// (aria-sort on the heading, the new order told in a status line above the table; a click anywhere on
// the heading but on a link sorts too). The heading's own content stays where it is: a browser repeats
// the head's row on every printed page, but does not draw a button's content there. It puts a labelled
// filter box above the table.
// It is plain ASCII (its Japanese texts as escapes), so it reads the same in a Shift-JIS and a UTF-8
// page, and holds no "</". It is called with (sort, filter, row colours): with two or more row colours
// written on the cells, the colours of the first rows are taken as they were written and given to the
// rows by their place after each sort, so that the stripes stay in order.
//
// What keeps a sort of 10,000 rows fast: the keys are read once per sort (textContent, which needs no
// layout), numbers with thousands separators, full-width digits or a currency sign are read as numbers,
// one Intl.Collator compares the texts, and the rows are put back in one fragment while the body is out
// of the table, so that the browser lays the table out once. The filter compares a text made once per
// row and touches only the rows whose hidden state changes.
constexpr char Script[] =
    "(function(S,F,N){var d=document,s=d.currentScript,e=s,t;while((e=e.previousElementSibling)&&!(t=e.ta"
    "gName=='TABLE'?e:e.querySelector('table')));if(!t||!t.tHead||!t.tBodies[0])return;var b=t.tBodies[0]"
    ",h=[].slice.call(t.tHead.rows[0].cells),v=d.createElement('div'),o=d.createElement('span'),C=new Int"
    "l.Collator('ja',{numeric:true}),P=[],c=-1,a=1,i,R,x;o.setAttribute('role','status');v.appendChild(o)"
    ";e.parentNode.insertBefore(v,e);function L(r){return r.k||(r.k=r.textContent.normalize('NFKC').toLow"
    "erCase())}function K(r,i){var x=r.cells[i],y;x=x?x.textContent.trim():'';if(!x)return null;y=x.norma"
    "lize('NFKC').replace(/\\s/g,'').replace(/^[\\u2212-]/,'-').replace(/^(-?)[\\u00a5$\\u20ac\\u00a3]/"
    ",'$1')."
    "replace(/\\u5186$/,'');return/^-?(\\d{1,3}(,\\d{3})+|\\d+)(\\.\\d+)?$/.test(y)?+y.replace(/,/"
    "g,''):x}funct"
    "ion G(r){var g=['','','',''],j,q,f;for(j=0;j<r.cells.length;j++){q=r.cells[j];f=q.firstElementChild;"
    "g[0]=g[0]||q.getAttribute('bgcolor')||'';g[1]=g[1]||q.style.backgroundColor;if(f){g[2]=g[2]||f.getAt"
    "tribute('color')||'';g[3]=g[3]||f.style.color}}return g}if(N>1)for(R=b.rows,i=0;i<N&&i<R.length;i++)"
    "P.push(G(R[i]));function W(){var R=b.rows,p,j,q,f,g;if(N<2)return;for(p=0;p<R.length;p++)for(g=P[p%N"
    "],j=0;j<R[p].cells.length;j++){q=R[p].cells[j];f=q.firstElementChild;if(q.getAttribute('bgcolor'))q."
    "setAttribute('bgcolor',g[0]);if(q.style.backgroundColor)q.style.backgroundColor=g[1];if(f&&f.getAttr"
    "ibute('color'))f.setAttribute('color',g[2]);if(f&&f.style.color)f.style.color=g[3]}}function Z(i){va"
    "r k=[].map.call(b.rows,function(r,p){return[K(r,i),p,r]}),f=d.createDocumentFragment(),n=h[i].n;a=c="
    "=i?-a:1;c=i;k.sort(function(x,y){var p=x[0],q=y[0],r;if(p===null||q===null)return p===q?x[1]-y[1]:p="
    "==null?1:-1;r=typeof p==typeof q?(typeof p=='number'?p-q:C.compare(p,q)):typeof p=='number'?-1:1;ret"
    "urn a*r||x[1]-y[1]});t.removeChild(b);k.forEach(function(x){f.appendChild(x[2])});b.appendChild(f);W"
    "();t.appendChild(b);h.forEach(function(q,j){q.m.textContent=j==c?(a>0?'\\u25b2':'\\u25bc'):'\\u21c5';if"
    "(j==c)q.setAttribute('aria-sort',a>0?'ascending':'descending');else q.removeAttribute('aria-sort')})"
    ";o.textContent=n+'\\u3067'+(a>0?'\\u6607\\u9806':'\\u964d\\u9806')+'"
    "\\u306b\\u4e26\\u3079\\u66ff\\u3048\\u307e\\"
    "u3057\\u305f'}if(S)h.forEach(function(q,j){var u=d.createElement('button');q.n=q.textContent.trim();u"
    ".type='button';u.style.cssText='font:inherit;color:inherit;background:none;border:0;padding:0 0 0 .2"
    "em;cursor:pointer';u.textContent='\\u21c5';u.setAttribute('aria-label',q.n+'"
    "\\u3067\\u4e26\\u3079\\u66ff\\"
    "u3048');q.m=u;q.appendChild(u);q.style.cursor='pointer';q.onclick=function(e){if(!e.target.closest('"
    "a'))Z(j)}});if(F){x=d.createElement('input');x.type='search';i=d.createElement('label');i.append('\\u"
    "7d5e\\u308a\\u8fbc\\u307f ',x);v.insertBefore(i,o);o.style.marginLeft='1em';x.oninput=function(){var w="
    "x.value.normalize('NFKC').toLowerCase().trim(),R=b.rows,p,y,n=0;for(p=0;p<R.length;p++){y=!w||L(R[p]"
    ").indexOf(w)>=0;n+=y;if(R[p].hidden==y)R[p].hidden=!y}o.textContent=n+'"
    "\\u4ef6\\u3092\\u8868\\u793a\\u305"
    "7\\u3066\\u3044\\u307e\\u3059\\uff08\\u5168'+R.length+'\\u4ef6\\uff09'}}})";

} // namespace

QByteArray tableScriptLine(bool classic, bool sort, bool filter, int stripes) {
    QByteArray line = classic ? QByteArrayLiteral("<SCRIPT>") : QByteArrayLiteral("<script>");
    line += Script;
    line += '(';
    line += sort ? '1' : '0';
    line += ',';
    line += filter ? '1' : '0';
    line += ',';
    line += QByteArray::number(stripes);
    line += ')';
    line += classic ? "</SCRIPT>" : "</script>";
    return line;
}

} // namespace kelvano
