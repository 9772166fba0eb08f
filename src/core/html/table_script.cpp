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
// What keeps a sort of 10,000 rows quick: the keys are read once per sort (textContent, which needs no
// layout); numbers with thousands separators, full-width digits or a currency sign are read as numbers;
// the distinct texts of the column are ranked once with one Intl.Collator, so the sort itself compares
// numbers; the rows are put back in one fragment while the body is out of the table. What the browser
// then has to lay out is kept to the view: the rows from the top of the body down to the bottom of the
// window (with room to spare) are drawn at once, and the rows below it are given display:none and drawn
// 2,000 per frame after the next paint, the column widths held as they were until the last is drawn (a
// sort does not change them). The body's order, the hidden rows and the status line are complete at
// once; only the drawing of the rows below the view follows. The filter compares a text made once per
// row (made after the page has loaded), touches only the rows whose hidden state changes, and draws the
// rows it shows again below the view in the same way. Before printing, every waiting row is drawn.
constexpr char Script[] =
    "(function(S,F,N){var d=document,s=d.currentScript,e=s,t;while((e=e.previousElementSibling)&&!(t=e.ta"
    "gName=='TABLE'?e:e.querySelector('table')));if(!t||!t.tHead||!t.tBodies[0])return;var b=t.tBodies[0]"
    ",h=[].slice.call(t.tHead.rows[0].cells),v=d.createElement('div'),o=d.createElement('span'),C=new Int"
    "l.Collator('ja',{numeric:true}),P=[],c=-1,a=1,Q=[],T=0,m,i,R,x;o.setAttribute('role','status');v.app"
    "endChild(o);e.parentNode.insertBefore(v,e);function L(r){return r.k||(r.k=r.textContent.normalize('N"
    "FKC').toLowerCase())}function K(r,i){var x=r.cells[i],y;x=x?x.textContent.trim():'';if(!x)return nul"
    "l;y=x.normalize('NFKC').replace(/\\s/g,'').replace(/^[\\u2212-]/,'-').replace(/^(-?)[\\u00a5$\\u20ac"
    "\\u00a3]/,'$1').replace(/\\u5186$/,'');return/^-?(\\d{1,3}(,\\d{3})+|\\d+)(\\.\\d+)?$/.test(y)?+y.re"
    "place(/,/g,''):x}function G(r){var g=['','','',''],j,q,f;for(j=0;j<r.cells.length;j++){q=r.cells[j];"
    "f=q.firstElementChild;g[0]=g[0]||q.getAttribute('bgcolor')||'';g[1]=g[1]||q.style.backgroundColor;if"
    "(f){g[2]=g[2]||f.getAttribute('color')||'';g[3]=g[3]||f.style.color}}return g}if(N>1)for(R=b.rows,i="
    "0;i<N&&i<R.length;i++)P.push(G(R[i]));function W(){var R=b.rows,p,j,q,f,g;if(N<2)return;for(p=0;p<R."
    "length;p++)for(g=P[p%N],j=0;j<R[p].cells.length;j++){q=R[p].cells[j];f=q.firstElementChild;if(q.getA"
    "ttribute('bgcolor'))q.setAttribute('bgcolor',g[0]);if(q.style.backgroundColor)q.style.backgroundColo"
    "r=g[1];if(f&&f.getAttribute('color'))f.setAttribute('color',g[2]);if(f&&f.style.color)f.style.color="
    "g[3]}}function H(){var y=Math.min(t.tHead.rows[0].offsetHeight,b.rows[0]&&b.rows[0].offsetHeight||1e"
    "9)||20;m=Math.ceil((innerHeight-b.getBoundingClientRect().top)/y)+20;if(!Q.length)h.map(function(q){"
    "return q.getBoundingClientRect().width}).forEach(function(w,j){var q=h[j];q.z=q.style.cssText;q.styl"
    "e.width=w+'px';q.style.boxSizing='border-box'});Q=[]}function Y(r,n){if(n>m&&!r.hidden){r.q||(r.styl"
    "e.display='none',r.q=1);Q.push(r)}else if(r.q)r.style.display=r.q=''}function A(){if(!Q.length)h.for"
    "Each(function(q){q.style.cssText=q.z});else if(!T)T=requestAnimationFrame(function(){setTimeout(func"
    "tion(){T=0;Q.splice(0,2e3).forEach(function(r){r.style.display=r.q=''});A()})})}function Z(i){var k="
    "[],u=new Map,f=d.createDocumentFragment(),n=h[i].n,j=0;H();a=c==i?-a:1;c=i;[].forEach.call(b.rows,fu"
    "nction(r,p){var x=K(r,i);k.push([x,p,r,x===null?2:typeof x=='number'?0:1]);if(typeof x=='string')u.s"
    "et(x,0)});[...u.keys()].sort(C.compare).forEach(function(x,j){u.set(x,j)});k.forEach(function(x){if("
    "x[3]==1)x[0]=u.get(x[0])});k.sort(function(x,y){var g=x[3]-y[3];return(x[3]>1||y[3]>1?g:a*(g||x[0]-y"
    "[0]))||x[1]-y[1]});t.removeChild(b);k.forEach(function(x){var r=x[2];Y(r,j+=!r.hidden);f.appendChild"
    "(r)});b.appendChild(f);W();t.appendChild(b);A();h.forEach(function(q,j){q.m.textContent=j==c?(a>0?'"
    "\\u25b2':'\\u25bc'):'\\u21c5';if(j==c)q.setAttribute('aria-sort',a>0?'ascending':'descending');else "
    "q.removeAttribute('aria-sort')});o.textContent=n+'\\u3067'+(a>0?'\\u6607\\u9806':'\\u964d\\u9806')+'"
    "\\u306b\\u4e26\\u3079\\u66ff\\u3048\\u307e\\u3057\\u305f'}addEventListener('beforeprint',function(){"
    "Q.splice(0).forEach(function(r){r.style.display=r.q=''});A()});if(S)h.forEach(function(q,j){var u=d."
    "createElement('button');q.n=q.textContent.trim();u.type='button';u.style.cssText='font:inherit;color"
    ":inherit;background:none;border:0;padding:0 0 0 .2em;cursor:pointer';u.textContent='\\u21c5';u.setAt"
    "tribute('aria-label',q.n+'\\u3067\\u4e26\\u3079\\u66ff\\u3048');q.m=u;q.appendChild(u);q.style.curso"
    "r='pointer';q.onclick=function(e){if(!e.target.closest('a'))Z(j)}});if(F){x=d.createElement('input')"
    ";x.type='search';i=d.createElement('label');i.append('\\u7d5e\\u308a\\u8fbc\\u307f ',x);v.insertBefo"
    "re(i,o);o.style.marginLeft='1em';setTimeout(function(){[].forEach.call(b.rows,L)});x.oninput=functio"
    "n(){var w=x.value.normalize('NFKC').toLowerCase().trim(),R=b.rows,p,r,y,n=0;H();for(p=0;p<R.length;p"
    "++){r=R[p];y=!w||L(r).indexOf(w)>=0;n+=y;if(r.hidden==y||r.q){r.hidden=!y;Y(r,n)}}A();o.textContent="
    "n+'\\u4ef6\\u3092\\u8868\\u793a\\u3057\\u3066\\u3044\\u307e\\u3059\\uff08\\u5168'+R.length+'\\u4ef6"
    "\\uff09'}}})";

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
